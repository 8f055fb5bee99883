#!/usr/bin/env python3
"""Figures of the running game under a private Xvfb (measured, not asserted):
time from process start to the first drawn title page (median of several
starts of a player who has seen the tutorial), CPU use while the title page
idles over 20 s with the menu world running behind it, and peak memory.

    figures.py [GAME]      GAME defaults to build/cobalt-keep"""

import os
import signal
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402
import menu_e2e  # noqa: E402

STARTS = 5
IDLE_SECONDS = 20.0


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the whole line.
    return (int(fields[11]) + int(fields[12])) / float(os.sysconf("SC_CLK_TCK"))


def status_kib(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    game_path = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "cobalt-keep"))
    save = tempfile.mkdtemp(prefix="cobalt-keep-figures-")
    menu_e2e.seed_first_run(game_path, save)
    startups, splashes = [], []
    with e2e.Xvfb() as server:
        env = e2e.game_environment(save, {"DISPLAY": server.display})
        for run in range(STARTS):
            game = e2e.launch([game_path], env)
            first = game.wait_for_trace("first frame drawn")
            splash = game.wait_for_trace("splash shown")
            if game.wait_for_trace("page 1", 5) is None:
                raise SystemExit("the first page drawn is not the title page")
            startups.append((first - game.started) * 1000.0)
            splashes.append((splash - game.started) * 1000.0)
            if run < STARTS - 1:
                game.process.send_signal(signal.SIGTERM)
                game.wait(30)
        # The last one stays for the idle figures.
        pid = game.process.pid
        time.sleep(1.0)
        before = cpu_seconds(pid)
        wall = time.time()
        time.sleep(IDLE_SECONDS)
        used = cpu_seconds(pid) - before
        wall = time.time() - wall
        peak = status_kib(pid, "VmHWM")
        game.process.send_signal(signal.SIGTERM)
        code = game.wait(30)
    print("cobalt-keep figures (%s, Xvfb 320x480, Mesa llvmpipe)" % game_path)
    print("  process start to splash shown:     median %.0f ms (runs: %s)"
          % (statistics.median(splashes), ", ".join("%.0f" % t for t in splashes)))
    print("  process start to the title page:   median %.0f ms (runs: %s)"
          % (statistics.median(startups), ", ".join("%.0f" % t for t in startups)))
    print("  title page idle CPU over %.0f s:     %.1f %% of one core (%.2f s CPU)" % (wall, 100.0 * used / wall, used))
    print("  peak resident memory (VmHWM):      %.1f MiB" % (peak / 1024.0))
    print("  exit status after SIGTERM:         %d" % code)
    return 0


if __name__ == "__main__":
    sys.exit(main())
