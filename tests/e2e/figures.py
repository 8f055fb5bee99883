#!/usr/bin/env python3
"""Figures of the running game under a private Xvfb (measured, not asserted):
time from process start to the first drawn title page (median of several
starts of a player who has seen the tutorial), CPU use while the title page
idles over 20 s with the menu world running behind it, and its memory: the
peak resident set (VmHWM) and the resident set after the idle stretch.

    figures.py [GAME [FLOOR [ARGS...]]]
                  GAME defaults to build/cobalt-keep; FLOOR, a minimal SDL +
                  GL program that runs the same 30 Hz loop (it must run for
                  more than 21 s), is measured alike on the same Xvfb for
                  comparison"""

import os
import signal
import statistics
import subprocess
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


def idle_memory(command, env):
    """(VmHWM, VmRSS) in KiB of a program left running for the idle stretch."""
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1.0 + IDLE_SECONDS)
        if process.poll() is not None:
            raise SystemExit("%s ended early (status %d)" % (command[0], process.returncode))
        return status_kib(process.pid, "VmHWM"), status_kib(process.pid, "VmRSS")
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(30)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


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
        idle = status_kib(pid, "VmRSS")
        game.process.send_signal(signal.SIGTERM)
        code = game.wait(30)
        floor = None
        if len(sys.argv) > 2:
            floor = idle_memory([os.path.abspath(sys.argv[2])] + sys.argv[3:], env)
    print("cobalt-keep figures (%s, Xvfb 320x480, Mesa llvmpipe)" % game_path)
    print("  process start to splash shown:     median %.0f ms (runs: %s)"
          % (statistics.median(splashes), ", ".join("%.0f" % t for t in splashes)))
    print("  process start to the title page:   median %.0f ms (runs: %s)"
          % (statistics.median(startups), ", ".join("%.0f" % t for t in startups)))
    print("  title page idle CPU over %.0f s:     %.1f %% of one core (%.2f s CPU)" % (wall, 100.0 * used / wall, used))
    print("  title page peak resident (VmHWM):  %.1f MiB" % (peak / 1024.0))
    print("  title page idle resident (VmRSS):  %.1f MiB" % (idle / 1024.0))
    if floor:
        print("  floor peak / idle resident:        %.1f / %.1f MiB (%s)" % (floor[0] / 1024.0, floor[1] / 1024.0,
                                                                           " ".join(sys.argv[2:])))
        print("  title page peak above the floor:   %.1f MiB" % ((peak - floor[0]) / 1024.0))
    print("  exit status after SIGTERM:         %d" % code)
    return 0


if __name__ == "__main__":
    sys.exit(main())
