#!/usr/bin/env python3
"""End-to-end tests of cobalt-keep under a private Xvfb, as a person would use
it: start it, look at the splash and the first frame, click, double-click and
drag with the mouse, press Escape, stop it with SIGTERM; drive two fingers and
a pause through an event script; run it under a memory checker; run it with
no display; start it 50 times on bare X servers.

    run_e2e.py GAME OUTPUT_DIR CASE     CASE: window, script, memcheck, no-display, starts

Screenshots and logs stay in OUTPUT_DIR. Exit status 0 passes."""

import os
import shutil
import signal
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import e2e_support as e2e  # noqa: E402
from e2e_support import Failure, check, wait_for, xdotool  # noqa: E402


def fresh_save(out, name="save"):
    """An empty save folder: every case starts as a new player would (a
    saved game of an earlier run would be resumed)."""
    path = os.path.join(out, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def in_order(names, expected):
    """Whether expected appear in names in this order (others may lie between)."""
    position = 0
    for name in names:
        if position < len(expected) and name == expected[position]:
            position += 1
    return position == len(expected)


def check_splash(path, data_dir):
    shot = e2e.read_rgb(path)
    image = e2e.read_rgb(os.path.join(data_dir, "default_pot.png"))
    upright = e2e.mean_difference(shot, image)
    upside_down = e2e.mean_difference(shot, e2e.flipped_rows(image))
    check(upright < 6.0 and upright * 4 < upside_down,
          "splash %s: differs from default_pot.png by %.1f (flipped: %.1f)" % (path, upright, upside_down))
    # Upright: the planet's blue ocean rises from the bottom edge, and the
    # top edge is dark space.
    def ocean(y0, y1):
        return sum(1 for y in range(y0, y1) for x in range(0, 320)
                   if (lambda p: p[2] > 100 and p[2] > p[0] + 60)(e2e.pixel(shot, x, y)))
    bottom, top = ocean(400, 480), ocean(0, 80)
    check(bottom > 3000 and top * 20 < bottom,
          "splash %s: the planet is not at the bottom (%d ocean pixels there, %d at the top)" % (path, bottom, top))


def check_game_frame(path):
    """The first screen of a fresh start: the tutorial, its planet near the
    middle."""
    shot = e2e.read_rgb(path)
    x, y = e2e.planet_centre(shot)
    check(60 < x < 260 and 100 < y < 380, "%s: the planet is not near the middle: (%d, %d)" % (path, x, y))


def case_window(game_path, out, data_dir):
    with e2e.Xvfb() as server:
        env = e2e.game_environment(fresh_save(out), {
            "DISPLAY": server.display,
            "COBALT_KEEP_SHOT": "splash:%s,1:%s" % (os.path.join(out, "splash.png"), os.path.join(out, "frame1.png")),
        })
        game = e2e.launch([game_path], env)
        try:
            wait_for(game, "frame 1 saved")
            check_splash(os.path.join(out, "splash.png"), data_dir)
            check_game_frame(os.path.join(out, "frame1.png"))
            # What a person sees on the screen: only once the frame was
            # swapped ("first frame drawn" follows the swap; "frame 1 saved"
            # comes before it), and the X server may show it a moment later.
            wait_for(game, "first frame drawn")
            screen = os.path.join(out, "screen.png")
            deadline = time.time() + 60
            while True:
                subprocess.run(["import", "-display", server.display, "-window", "root", screen], check=True)
                try:
                    check_game_frame(screen)
                    break
                except Failure:
                    if time.time() > deadline:
                        raise
                    time.sleep(0.2)

            window = xdotool(server.display, "search", "--name", "^Cobalt Keep$").split()[0]
            xdotool(server.display, "mousemove", "--window", window, "100", "150", "click", "1")
            wait_for(game, "touch up 0 (100, 150)")
            e2e.double_click(game, server.display, window, 200, 300)
            xdotool(server.display, "mousemove", "--window", window, "50", "60", "mousedown", "1",
                    "mousemove", "--window", window, "80", "90", "mousemove", "--window", window, "120", "130",
                    "mouseup", "1")
            wait_for(game, "touch up 0 (120, 130)")
            xdotool(server.display, "key", "Escape")
            wait_for(game, "back key")
            game.process.send_signal(signal.SIGTERM)
            code = game.wait(60)
        finally:
            game.kill()
        names = game.trace_names()
        with open(os.path.join(out, "window.log"), "w") as log:
            log.write("\n".join(game.output()) + "\n")
        check(code == 0, "exit status %s after SIGTERM" % code)
        check(in_order(names, ["splash shown", "game started", "first frame drawn",
                               "touch down 0 (100, 150) taps 1", "touch up 0 (100, 150)",
                               "touch down 0 (200, 300) taps 1", "touch up 0 (200, 300)",
                               "touch down 0 (200, 300) taps 2", "touch up 0 (200, 300)",
                               "touch down 0 (50, 60) taps 1", "touch move 0 (80, 90)",
                               "touch move 0 (120, 130)", "touch up 0 (120, 130)",
                               "back key", "quit", "shutdown game", "save game state", "shutdown event"]),
              "trace out of order:\n" + "\n".join(names))
        check(names[-1] == "shutdown event", "the Shutdown event did not come last:\n" + "\n".join(names))


TWO_FINGERS_AND_A_PAUSE = """\
# Two fingers down and moving, a pause in which the fingers move and one
# lifts, a resume, the other lifts, the first goes stale, Escape (the
# tutorial pauses) and the quit. The device is held upright throughout.
1 axis 1 32767
5 down 0 100 200
5 down 1 220 300
8 move 0 110 210
8 move 1 230 310
10 axis 0 16384
12 deactivate
14 move 0 120 220
14 up 1 240 320
20 activate
22 up 0 125 225
24 down 1 10 10
150 key escape
160 quit
"""


def case_script(game_path, out, data_dir, wrapper=None, timeout=120):
    script = os.path.join(out, "two_fingers.script")
    with open(script, "w") as f:
        f.write(TWO_FINGERS_AND_A_PAUSE)
    shots = {frame: os.path.join(out, "script_frame%d.png" % frame) for frame in (10, 12, 13, 21)}
    for path in shots.values():
        if os.path.exists(path):
            os.remove(path)
    with e2e.Xvfb() as server:
        env = e2e.game_environment(fresh_save(out), {
            "DISPLAY": server.display,
            "COBALT_KEEP_EVENT_SCRIPT": script,
            "COBALT_KEEP_FIXED_STEP": "1",
            "COBALT_KEEP_SHOT": ",".join("%d:%s" % item for item in sorted(shots.items())),
            "COBALT_KEEP_TILT_SENSOR": "1",  # the script plays one
        })
        game = e2e.launch((wrapper or []) + [game_path], env, ready="game started", timeout=timeout)
        try:
            code = game.wait(timeout)
        finally:
            game.kill()
    output = game.output()
    with open(os.path.join(out, "script.log"), "w") as log:
        log.write("\n".join(output) + "\n")
    names = game.trace_names()
    check(code == 0, "exit status %s; output:\n%s" % (code, "\n".join(output)))
    expected = ["first frame drawn",
                "touch down 0 (100, 200) taps 1", "touch down 1 (220, 300) taps 1",
                "touch move 0 (110, 210)", "touch move 1 (230, 310)",
                "frame 10 saved", "pause", "save game state", "frame 12 saved",
                "resume", "frame 21 saved", "touch up 0 (125, 225)", "touch up 1 (stale)",
                "back key", "quit", "shutdown game", "save game state", "shutdown event"]
    check(in_order(names, expected), "trace out of order:\n" + "\n".join(names))
    # While inactive nothing reached the UI, and nothing was drawn after the
    # last frame; finger 1 stayed down until it went stale.
    for absent in ("touch move 0 (120, 220)", "touch up 1 (240, 320)", "touch down 1 (10, 10) taps 1",
                   "frame 13 saved"):
        check(absent not in names, "\"%s\" should not be in the trace" % absent)
    check(not os.path.exists(shots[13]), "frame 13 was drawn while inactive")
    for frame in (10, 12, 21):
        check_game_frame(shots[frame])
    return output


def is_sanitized(game_path):
    """Built with AddressSanitizer or ThreadSanitizer: valgrind cannot run it."""
    libraries = subprocess.run(["ldd", game_path], stdout=subprocess.PIPE, text=True).stdout
    return any(runtime in libraries for runtime in ("libasan", "libtsan"))


def case_memcheck(game_path, out, data_dir):
    if is_sanitized(game_path):
        # A sanitizer build checks itself: any invalid access or data race
        # ends the run with a failure.
        case_script(game_path, out, data_dir)
        return
    valgrind = shutil.which("valgrind")
    check(valgrind is not None, "valgrind is not installed (scripts/install-deps installs it)")
    log = os.path.join(out, "valgrind.log")
    case_script(game_path, out, data_dir, timeout=600,
                wrapper=[valgrind, "--error-exitcode=99", "--undef-value-errors=no", "--leak-check=no",
                         "--suppressions=" + os.path.join(HERE, "valgrind.supp"), "--log-file=" + log])
    with open(log) as f:
        report = f.read()
    check("Invalid read" not in report and "Invalid write" not in report and "Invalid free" not in report,
          "valgrind found invalid accesses:\n" + report)


# Starts of the game on bare X servers (no -noreset: each resets when its
# last client leaves, as after every earlier start), in lanes that run side
# by side, every start unaided: no launch is repeated.
START_LANES = 5
STARTS_PER_LANE = 10


def case_starts(game_path, out, data_dir):
    script = os.path.join(out, "quit.script")
    with open(script, "w") as f:
        f.write("3 quit\n")
    failures = []
    lock = threading.Lock()

    def lane(number):
        with e2e.Xvfb() as server:
            env = e2e.game_environment(fresh_save(out, "save%d" % number), {
                "DISPLAY": server.display, "COBALT_KEEP_EVENT_SCRIPT": script, "COBALT_KEEP_FIXED_STEP": "1"})
            for start in range(STARTS_PER_LANE):
                run = subprocess.run([game_path], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                     text=True, errors="replace", timeout=120)
                if run.returncode != 0:
                    with lock:
                        failures.append("lane %d, start %d: exit status %d\n%s" % (
                            number, start + 1, run.returncode, run.stderr[-2000:]))

    lanes = [threading.Thread(target=lane, args=(n,)) for n in range(START_LANES)]
    for thread in lanes:
        thread.start()
    for thread in lanes:
        thread.join()
    check(not failures, "%d of %d starts failed:\n%s" % (
        len(failures), START_LANES * STARTS_PER_LANE, "\n".join(failures)))


def case_no_display(game_path, out, data_dir):
    unused = next(n for n in range(987, 1100) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
    for display, message in ((None, "DISPLAY is not set"), (":%d" % unused, "could not be opened")):
        env = e2e.game_environment(os.path.join(out, "save"))
        env.pop("DISPLAY", None)
        env.pop("SDL_VIDEODRIVER", None)
        if display:
            env["DISPLAY"] = display
        started = time.time()
        result = subprocess.run([game_path], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                timeout=60)
        check(result.returncode != 0, "exit status 0 without a display (DISPLAY=%s)" % display)
        check("Video initialization failed" in result.stderr and message in result.stderr,
              "unclear message without a display (DISPLAY=%s):\n%s" % (display, result.stderr))
        check(time.time() - started < 30, "took too long to give up")


CASES = {"window": case_window, "script": case_script, "memcheck": case_memcheck, "no-display": case_no_display,
         "starts": case_starts}


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in CASES:
        print(__doc__)
        return 2
    game_path, out, case = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    missing = e2e.missing_tools() if case != "no-display" else []
    if missing:
        print("FAILED (%s): %s not installed (scripts/install-deps installs them)" % (case, ", ".join(missing)))
        return 1
    out = os.path.join(out, case)
    os.makedirs(out, exist_ok=True)
    data_dir = os.path.join(os.path.dirname(game_path), "data")
    try:
        CASES[case](game_path, out, data_dir)
    except Failure as failure:
        print("FAILED (%s): %s" % (case, failure))
        return 1
    print("passed (%s); files in %s" % (case, out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
