#!/usr/bin/env python3
"""Checks that every CTest test of a build folder has a timeout of its own,
so that no test can hang a run: check_test_timeouts.py CTEST BUILD_DIR."""

import json
import subprocess
import sys


def tests_without_timeout(listing):
    missing = []
    for test in listing.get("tests", []):
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        timeout = properties.get("TIMEOUT")
        if timeout is None or float(timeout) <= 0:
            missing.append(test["name"])
    return missing


def main(argv):
    if len(argv) != 3:
        print(__doc__)
        return 2
    ctest, build = argv[1], argv[2]
    run = subprocess.run([ctest, "--show-only=json-v1"], cwd=build, stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, text=True, timeout=60)
    if run.returncode != 0:
        print("test timeouts: ctest could not list the tests: %s" % run.stderr.strip())
        return 1
    listing = json.loads(run.stdout)
    missing = tests_without_timeout(listing)
    for name in missing:
        print("test timeouts: %s has no TIMEOUT (vexel_add_test_executable sets one; "
              "tests added with add_test need vexel_set_test_timeout)" % name)
    if missing:
        return 1
    print("test timeouts: all %d tests have one" % len(listing.get("tests", [])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
