#!/usr/bin/env python3
"""How quiet the game is while its title page idles, the menu world running
behind it (measured, not asserted): wake-ups per second (context switches)
and CPU of each thread over a stretch of seconds, on a private Xvfb.

    idle_figures.py [GAME] [SECONDS]     GAME defaults to build/cobalt-keep,
                                         SECONDS to 20

The main loop's 1 ms sleep alone makes about 1,000 wake-ups a second; Mesa's
llvmpipe threads wake for each of the 30 frames a second."""

import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402
import menu_e2e  # noqa: E402

TICKS = float(os.sysconf("SC_CLK_TCK"))


def thread_counters(pid):
    """tid -> (name, context switches, CPU ticks) of each living thread."""
    counters = {}
    for tid in os.listdir("/proc/%d/task" % pid):
        base = "/proc/%d/task/%s/" % (pid, tid)
        try:
            with open(base + "comm") as f:
                name = f.read().strip()
            switches = 0
            with open(base + "status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                        switches += int(line.split()[1])
            with open(base + "stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            counters[tid] = (name, switches, int(fields[11]) + int(fields[12]))
        except OSError:
            pass  # the thread ended meanwhile
    return counters


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    game_path = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "cobalt-keep"))
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
    save = tempfile.mkdtemp(prefix="cobalt-keep-idle-")
    menu_e2e.seed_first_run(game_path, save)
    with e2e.Xvfb() as server:
        game = e2e.launch([game_path], e2e.game_environment(save, {"DISPLAY": server.display}))
        try:
            time.sleep(1.0)  # past the start-up work
            before, start = thread_counters(game.process.pid), time.time()
            time.sleep(seconds)
            after, elapsed = thread_counters(game.process.pid), time.time() - start
        finally:
            game.kill()
    rows = []
    for tid, (name, switches, ticks) in sorted(after.items(), key=lambda item: int(item[0])):
        if tid not in before:
            continue
        wakeups = (switches - before[tid][1]) / elapsed
        cpu = 100.0 * (ticks - before[tid][2]) / TICKS / elapsed
        rows.append((tid, name, wakeups, cpu))
    print("idle title page over %.0f s: %s" % (elapsed, game_path))
    print("%8s  %-16s %12s %8s" % ("thread", "name", "wake-ups/s", "CPU %"))
    for tid, name, wakeups, cpu in rows:
        if wakeups >= 0.5 or cpu >= 0.05:
            print("%8s  %-16s %12.0f %8.1f" % (tid, name, wakeups, cpu))
    quiet = sum(1 for _, _, wakeups, cpu in rows if wakeups < 0.5 and cpu < 0.05)
    print("(%d threads asleep throughout)" % quiet)
    print("%8s  %-16s %12.0f %8.1f" % ("", "whole process", sum(r[2] for r in rows), sum(r[3] for r in rows)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
