#!/usr/bin/env python3
"""Runs a test program on a private Xvfb: under_xvfb.py PROGRAM [ARGS...].

The server reports its display number once it accepts connections, so
parallel runs never race for a number. A run whose program could not reach
the server (it happens now and then on a loaded machine) is repeated on a
fresh server; any other failure is the program's own and is passed on."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402

LAUNCHES = 3


def main(argv):
    if len(argv) < 2:
        print("usage: under_xvfb.py PROGRAM [ARGS...]", file=sys.stderr)
        return 2
    for launch in range(1, LAUNCHES + 1):
        with e2e.Xvfb() as server:
            run = subprocess.run(argv[1:], env=server.env(), stdout=subprocess.PIPE,
                                 stderr=subprocess.STDOUT)
        output = run.stdout.decode(errors="replace")
        lost = run.returncode != 0 and any(sign in output for sign in e2e.CONNECT_FAILURES)
        if not lost or launch == LAUNCHES:
            sys.stdout.write(output)
            sys.stdout.flush()
            return run.returncode
        print("under_xvfb: launch %d could not reach the X server; retrying on a fresh one" % launch)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
