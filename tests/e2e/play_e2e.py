#!/usr/bin/env python3
"""The game played end to end under a private Xvfb, as a person would with a
mouse: from the title page into a Classic game; a double click places a
target lock; holding the mouse button down and sweeping fires at the
enemies; a drag from the planet fires the planet cannon; the kills and the
score on the HUD change between screenshots; SIGTERM ends it with status 0
(Escape quitting is the script case's).

    play_e2e.py GAME OUTPUT_DIR

Screenshots (what the X server shows, taken with import) and the game's log
stay in OUTPUT_DIR. Exit status 0 passes."""

import math
import os
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import e2e_support as e2e  # noqa: E402
import menu_e2e  # noqa: E402
from e2e_support import Failure, check, wait_for, xdotool  # noqa: E402

WIDTH, HEIGHT = e2e.SCREEN
# HUD regions at 320 x 480: the kills line under the lives line at the top
# left, the score at the top right, the bottom of the third cannon icon in
# the column at the right edge.
KILLS = (0, 24, 150, 18)
SCORE = (170, 6, 150, 18)
THIRD_ICON = (294, 114, 26, 18)


def shoot(server, out, name):
    path = os.path.join(out, name + ".png")
    subprocess.run(["import", "-display", server.display, "-window", "root", path], check=True)
    return path, e2e.read_rgb(path)


def count(shot, area, test):
    x0, y0, w, h = area
    return sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w) if test(e2e.pixel(shot, x, y)))


def lit(shot, area):
    return count(shot, area, lambda p: max(p) > 60)


def difference(a, b, area):
    x0, y0, w, h = area
    return sum(sum(abs(p - q) for p, q in zip(e2e.pixel(a, x, y), e2e.pixel(b, x, y)))
               for y in range(y0, y0 + h) for x in range(x0, x0 + w))


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    game_path, out = os.path.abspath(sys.argv[1]), os.path.join(os.path.abspath(sys.argv[2]), "play")
    os.makedirs(out, exist_ok=True)
    try:
        play(game_path, out)
    except Failure as failure:
        print("FAILED (play): %s" % failure)
        return 1
    print("passed (play); files in %s" % out)
    return 0


def play(game_path, out):
    save = menu_e2e.fresh_folder(out, "save")
    menu_e2e.seed_first_run(game_path, save)
    with e2e.Xvfb() as server:
        env = e2e.game_environment(save, {"DISPLAY": server.display})
        game = e2e.launch([game_path], env)
        try:
            # The title page, "Classic Mode", its play button.
            player = menu_e2e.Player(game, server.display, out, e2e.SCREEN)
            player.wait_page(1)
            player.press("tile 86", 9)
            player.press("tile 161", 2)
            played(server, game, out)
            code = game.wait(60)
        finally:
            game.kill()
            with open(os.path.join(out, "play.log"), "w") as log:
                log.write("\n".join(game.output()) + "\n")
    check(code == 0, "exit status %s after SIGTERM" % code)
    names = game.trace_names()
    check(names and names[-1] == "shutdown event", "no clean exit:\n" + "\n".join(names))


def played(server, game, out):
    window = xdotool(server.display, "search", "--name", "^Cobalt Keep$").split()[0]

    def mouse(*args):
        xdotool(server.display, *args)

    # Into the game: the planet, and the HUD faded in at the top.
    game.wait_frames(45)
    _, start = shoot(server, out, "1_start")
    e2e.planet_centre(start)
    check(lit(start, (0, 6, 120, 16)) > 60, "no \"Lives:\" line at the top left")
    check(lit(start, THIRD_ICON) > 40, "no column of three cannon charges at the right edge")

    # A double click on the field places a lock, shown by amber brackets
    # (wherever the camera has moved them since: the lock is a point of the
    # world).
    lock_at = (70, 90)
    e2e.double_click(game, server.display, window, *lock_at)
    wait_for(game, "lock 13 placed")
    game.wait_frames(6)
    _, locked = shoot(server, out, "2_lock")
    amber = count(locked, (0, 40, WIDTH, HEIGHT - 40), lambda p: p[0] > 200 and 170 < p[1] < 235 and p[2] < 150)
    check(amber > 100, "no lock mark on the screen (%d amber pixels)" % amber)

    # Fire: the button held down while the pointer sweeps round the planet,
    # until the game counts kills; then the HUD shows them.
    cx, cy = e2e.planet_centre(locked)
    radius = 120
    mark = len(game.traces())
    mouse("mousemove", "--window", window, cx, max(10, cy - radius), "mousedown", "1")
    wait_for(game, "touch down 0 (%d, %d) taps 1" % (cx, max(10, cy - radius)))
    deadline = time.time() + 300
    step = 0
    while not any(name.startswith("kills ") for name in game.trace_names()[mark:]):
        check("game over" not in game.trace_names()[mark:], "the game ended without a kill")
        check(time.time() < deadline, "no kill while sweeping")
        angle = step * 0.12
        px = int(min(WIDTH - 5, max(5, cx + radius * math.sin(angle))))
        py = int(min(HEIGHT - 5, max(5, cy - radius * math.cos(angle))))
        mouse("mousemove", "--window", window, px, py)
        step += 1
        time.sleep(0.1)
    mouse("mouseup", "1")
    game.wait_frames(15)
    _, fired = shoot(server, out, "3_fired")
    kills_changed = difference(start, fired, KILLS)
    score_changed = difference(start, fired, SCORE)
    check(kills_changed > 2000, "the kills line did not change (%d)" % kills_changed)
    check(score_changed > 2000, "the score did not change (%d)" % score_changed)

    # The planet cannon: a drag from the planet outwards, held, released.
    cx, cy = e2e.planet_centre(fired)
    mark = len(game.traces())
    mouse("mousemove", "--window", window, cx, cy, "mousedown", "1")
    for i in range(1, 9):
        mouse("mousemove", "--window", window, cx, max(5, cy - 20 * i))
        game.wait_frames(1)
    # Held: the cannon arms.
    game.wait_frames(18)
    mouse("mouseup", "1")
    check(game.wait_until(lambda _, what: what == "cannon fired, 2 left", start=mark) is not None,
          "the cannon did not fire; trace:\n%s" % "\n".join(game.trace_names()[mark:][-30:]))
    game.wait_frames(8)
    shoot(server, out, "4_cannon")
    game.wait_frames(45)
    _, after = shoot(server, out, "5_after_cannon")
    check(lit(fired, THIRD_ICON) > 40 and lit(after, THIRD_ICON) < lit(fired, THIRD_ICON) // 3,
          "the third cannon charge is still shown (%d lit pixels, before %d)"
          % (lit(after, THIRD_ICON), lit(fired, THIRD_ICON)))

    game.process.send_signal(signal.SIGTERM)


if __name__ == "__main__":
    sys.exit(main())
