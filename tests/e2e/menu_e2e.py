#!/usr/bin/env python3
"""End-to-end tests of the whole game under a private Xvfb, played as a new
player would with the mouse (xdotool) and Escape, screenshots taken with
`import` and kept for looking at:

    menu_e2e.py GAME OUTPUT_DIR CASE

    tutorial           a fresh save folder starts the tutorial on page 2
    tour-320x480       every one of the 44 pages, at that screen size
    tour-640x960
    classic            a Classic game played until the planet is lost, the
                       results, the name drum, the submission to a local
                       score server and the leaderboard page with the row
    resume             SIGTERM mid-game; the next start resumes that game on
                       the same wave, once

The game says which page it shows and where its buttons land in its trace
("page N", "target tile 161 at (x, y) size (w, h)"); the tests click those
points. Pages no button leads to (0, 3 without winning a level, 26) are shown
through the COBALT_KEEP_SHOW_PAGES seam. Exit status 0 passes."""

import math
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import e2e_support as e2e  # noqa: E402
from e2e_support import Failure, check, xdotool  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
SCORE_SERVER = os.path.join(ROOT, "tools", "scoreserver", "scoreserver.py")
TARGET = re.compile(r"^target (.+) at \((-?\d+), (-?\d+)\) size \((\d+), (\d+)\)$")
PAGE = re.compile(r"^page (\d+)$")
PREFS = "quellar_prefs.prf"
# Every default, the first run done: version 19, sound on, both volumes 1.0,
# vibration, tilt, locks and sweep on, "AAA", starting wave 10, music set 0,
# first run done, reference (0, -1, 0), submit online.
FIRST_RUN_PREFS = struct.pack("<iBffBBBBi3siiBfffB", 19, 1, 1.0, 1.0, 1, 1, 1, 1, 3, b"AAA", 10, 0, 1, 0.0, -1.0,
                              0.0, 1)


class Player:
    """The running game, seen through its trace and driven by the mouse."""

    def __init__(self, game, display, out, size):
        self.game = game
        self.display = display
        self.out = out
        self.size = size
        self.seen = 0  # traces already consumed
        self.page = None
        self.targets = []
        self.window = None
        self.shots = {}

    def find_window(self):
        deadline = time.time() + 20
        while self.window is None:
            try:
                self.window = xdotool(self.display, "search", "--name", "^Cobalt Keep$").split()[0]
            except Failure:
                check(time.time() < deadline, "no game window")
                time.sleep(0.2)

    def wait_page(self, page, timeout=120):
        """Waits for the game to show the page (after what was seen) and for
        the page to have entered: its elements arrived, its buttons taking
        presses. A page left before it entered is passed by."""
        index = self.game.wait_until(lambda _, what: what == "page %d" % page, timeout, self.seen)
        check(index is not None, "page %d did not show (last page %s); trace:\n%s" % (
            page, self.page, "\n".join(name for name, _ in self.game.traces()[-60:])))
        self.seen = index + 1
        self.page = page
        entered = "page %d entered" % page
        end = self.game.wait_until(lambda _, what: what == entered or PAGE.match(what), timeout, index + 1)
        check(end is not None, "page %d did not finish entering; trace:\n%s" % (
            page, "\n".join(name for name, _ in self.game.traces()[-60:])))
        # The targets follow their page line (other threads' lines may come
        # between them), up to the next page.
        self.targets = []
        for what, _ in self.game.traces()[index + 1:]:
            if PAGE.match(what):
                break
            target = TARGET.match(what)
            if target:
                self.targets.append((target.group(1), int(target.group(2)), int(target.group(3)),
                                     int(target.group(4)), int(target.group(5))))

    def target(self, name, index=0):
        found = [t for t in self.targets if t[0] == name]
        check(len(found) > index, "page %s has no target \"%s\" (#%d); it has: %s" % (
            self.page, name, index, ", ".join(t[0] for t in self.targets)))
        return found[index]

    def click_at(self, x, y):
        self.find_window()
        xdotool(self.display, "mousemove", "--window", self.window, x, y, "click", "1")

    def press(self, name, page, index=0):
        """Clicks a target of the current page and waits for the next page."""
        _, x, y, _, _ = self.target(name, index)
        self.click_at(x, y)
        self.wait_page(page)

    def escape(self, page):
        self.find_window()
        xdotool(self.display, "key", "--window", self.window, "Escape")
        self.wait_page(page)

    def shot(self, name):
        path = os.path.join(self.out, "%s.png" % name)
        subprocess.run(["import", "-display", self.display, "-window", "root", path], check=True)
        self.shots[name] = path
        return path

    def sweep_until(self, done, radius, timeout=300):
        """A finger held near the planet, turning around it (the guns
        follow) until done() holds; the timeout only bounds a hang."""
        self.find_window()
        cx, cy = self.size[0] // 2, self.size[1] // 2
        deadline = time.time() + timeout
        k = 0
        xdotool(self.display, "mousemove", "--window", self.window, cx, cy - radius, "mousedown", "1")
        try:
            while not done():
                check(time.time() < deadline, "the sweep saw nothing happen; trace:\n%s" % "\n".join(
                    self.game.trace_names()[-30:]))
                k += 1
                angle = 2 * math.pi * k / 60.0
                xdotool(self.display, "mousemove", "--window", self.window, int(cx + radius * math.sin(angle)),
                        int(cy - radius * math.cos(angle)))
                time.sleep(0.05)
        finally:
            xdotool(self.display, "mouseup", "1")


def next_page(player, pages, timeout=120):
    """Waits for whichever of the pages comes next."""
    index = player.game.wait_until(lambda _, what: PAGE.match(what) and int(what.split()[1]) in pages, timeout,
                                   player.seen)
    check(index is not None, "none of pages %s came; trace:\n%s" % (
        pages, "\n".join(player.game.trace_names()[-30:])))
    player.wait_page(int(player.game.traces()[index][0].split()[1]))
    return player.page


KILLS = re.compile(r"^kills (\d+)$")


def play_until_scored(player, size, fighting, results, games=4):
    """From a running Classic game: fight until a kill (or until the game
    ends by itself), give up, and go on from the results; a game without a
    kill starts again from its mode page. Ends on the name entry (page 5)."""
    game = player.game
    for attempt in range(games):
        start = len(game.traces())
        names = lambda: game.trace_names()[start:]  # noqa: E731
        player.sweep_until(lambda: any(KILLS.match(name) or name in ("game over", "page 4") for name in names()),
                           size[0] // 4 + size[0] // 16 * attempt)
        if "game over" in names() or "page 4" in names():
            # It ended by itself: the results come without a pause.
            player.wait_page(4)
        else:
            fighting()
            # Back pauses, unless the game ended in the meantime.
            player.find_window()
            xdotool(player.display, "key", "--window", player.window, "Escape")
            if next_page(player, (23, 4)) == 23:
                player.press("tile 163", 22)
                player.press("row Surrender!", 2)
                player.wait_page(4)
        # The results count up.
        game.wait_frames(15)
        results()
        _, x, y, _, _ = player.target("tile 157")
        player.click_at(x, y)
        if next_page(player, (5, 9)) == 5:
            return
        player.press("tile 161", 2)
    raise Failure("%d Classic games without a single kill" % games)


# The pixels of the last shot read: each is checked several times.
SHOT_PIXELS = {}


def bright_fraction(path, box, size, floor=60):
    """The share of every other pixel of every other row in box (x0, y0, x1,
    y1) with a channel brighter than floor. Counted a row at a time through
    byte tables: a tour checks some seventy shots, on a loaded machine too."""
    key = (path, os.path.getmtime(path), size)
    if key not in SHOT_PIXELS:
        SHOT_PIXELS.clear()
        SHOT_PIXELS[key] = e2e.read_rgb(path, size)
    data = SHOT_PIXELS[key]
    x0, y0, x1, y1 = box
    above = bytes(1 if value > floor else 0 for value in range(256))
    total = bright = 0
    for y in range(y0, y1, 2):
        row = data[(y * size[0] + x0) * 3:(y * size[0] + x1) * 3].translate(above)
        # Each sampled pixel's three flags, OR-ed as bytes of one number.
        lit = int.from_bytes(row[0::6], "big") | int.from_bytes(row[1::6], "big") | int.from_bytes(row[2::6], "big")
        total += len(row[0::6])
        bright += bin(lit).count("1")
    return bright / float(max(total, 1))


def check_page_shot(path, page, size):
    """A page with a title shows its bar at the top; every page but 0 shows
    something; page 0 hides the world."""
    w, h = size
    titled = page not in (0, 2, 3, 4)
    if titled:
        top = bright_fraction(path, (0, 0, w, int(h * 0.07)), size)
        check(top > 0.15, "%s: no title bar at the top (%.2f bright)" % (path, top))
    whole = bright_fraction(path, (0, 0, w, h), size, floor=30)
    if page == 0:
        check(whole < 0.02, "%s: page 0 should hide everything (%.2f lit)" % (path, whole))
    else:
        check(whole > 0.02, "%s: page %d looks empty (%.2f lit)" % (path, page, whole))


def seed_first_run(game_path, save):
    """Runs the game once for a moment, as a first start does: the
    preferences then say the tutorial was seen."""
    with e2e.Xvfb() as server:
        script = os.path.join(save, "quit.script")
        with open(script, "w") as f:
            f.write("5 quit\n")
        env = e2e.game_environment(save, {"DISPLAY": server.display, "COBALT_KEEP_EVENT_SCRIPT": script,
                                          "COBALT_KEEP_FIXED_STEP": "1"})
        run = subprocess.run([game_path], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                             timeout=120)
        check(run.returncode == 0, "the first start failed:\n" + run.stderr[-2000:])
    prefs = os.path.join(save, "cobalt-keep", PREFS)
    check(os.path.getsize(prefs) == 46, "the preferences after a first start are not 46 bytes")
    # The tutorial it left running is not to be resumed.
    os.remove(os.path.join(save, "cobalt-keep", "state.sav"))


def fresh_folder(out, name):
    path = os.path.join(out, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def case_tutorial(game_path, out, size):
    save = fresh_folder(out, "save-tutorial")
    with e2e.Xvfb(size) as server:
        env = e2e.game_environment(save, {"DISPLAY": server.display, "COBALT_KEEP_TILT_SENSOR": "0",
                                          "COBALT_KEEP_SCREEN": "%dx%d" % size})
        game = e2e.launch([game_path], env)
        try:
            player = Player(game, server.display, out, size)
            player.wait_page(2)
            names = game.trace_names()
            check("page 1" not in names, "the title page came before the tutorial")
            prefs = os.path.join(save, "cobalt-keep", PREFS)
            check(os.path.getsize(prefs) == 46, "the first start did not write its preferences (46 bytes)")
            # The first lesson's text and its continue button come in.
            game.wait_frames(40)
            path = player.shot("tutorial")
            check_page_shot(path, 2, size)
            # The tutorial's continue button waits at the bottom.
            bottom = bright_fraction(path, (size[0] // 3, int(size[1] * 0.88), 2 * size[0] // 3, size[1]), size)
            check(bottom > 0.05, "%s: no continue button at the bottom (%.2f)" % (path, bottom))
            game.process.send_signal(signal.SIGTERM)
            check(game.wait(60) == 0, "exit status after SIGTERM")
        finally:
            game.kill()
    # A game was running: the state waits for the next start.
    with open(os.path.join(save, "cobalt-keep", "state.sav"), "rb") as f:
        state = f.read()
    check(len(state) > 5 and state[4] == 1, "state.sav after the tutorial is not resumable")
    # No tilt sensor: the tutorial played by touch, and the player's
    # tilt choice (on, the default) was saved as it was.
    with open(os.path.join(save, "cobalt-keep", PREFS), "rb") as f:
        prefs = f.read()
    check(prefs == FIRST_RUN_PREFS, "the preferences after the tutorial differ from the first-run file: %s" %
          prefs.hex())


def tour_script(path):
    """A device held flat from the first frame (a hair off level: a real
    sensor), so the game shows "Device Too Flat"; upright from frame 150 on."""
    with open(path, "w") as f:
        f.write("1 axis 0 300\n1 axis 1 0\n1 axis 2 -32767\n150 axis 2 0\n150 axis 1 32767\n150 axis 0 0\n")


def case_tour(game_path, out, size):
    out = os.path.join(out, "%dx%d" % size)
    os.makedirs(out, exist_ok=True)
    save = fresh_folder(out, "save")
    script = os.path.join(out, "tour.script")
    tour_script(script)
    seen = set()
    with e2e.Xvfb(size) as server:
        # The script plays a tilt sensor.
        env = e2e.game_environment(save, {"DISPLAY": server.display, "COBALT_KEEP_SCREEN": "%dx%d" % size,
                                          "COBALT_KEEP_EVENT_SCRIPT": script, "COBALT_KEEP_TILT_SENSOR": "1"})
        game = e2e.launch([game_path], env)
        player = Player(game, server.display, out, size)

        def visit(page, name=None):
            seen.add(page)
            player.shot(name or "page%02d" % page)

        try:
            # A new player, holding the device flat: the tutorial pauses.
            player.wait_page(2)
            player.wait_page(7)
            visit(7)
            # The script turns the device upright on frame 150; how soon that
            # comes depends on the machine's frame rate. The filter then needs
            # a few frames to leave "flat" behind.
            check(game.wait_for_trace("axis 0 0") is not None, "the script never turned the device upright")
            game.wait_frames(60)
            player.press("tile 157", 2)
            visit(2)
            # Back pauses; surrender ends the tutorial, back on the title page.
            player.escape(23)
            visit(23, "page23-paused")
            player.press("tile 163", 22)
            visit(22)
            player.press("row Surrender!", 2)
            player.wait_page(1)
            visit(1)

            player.press("tile 87", 8)
            visit(8)
            player.press("tile 165", 43)
            visit(43, "page43-endless")
            player.press("tile 156", 8)
            player.press("tile 158", 6)
            visit(6)
            player.press("tile 156", 8)
            player.press("tile 156", 1)

            player.press("tile 86", 9)
            visit(9)
            player.press("tile 156", 1)

            player.press("tile 85", 10)
            visit(10)
            player.press("tile 168", 21)
            visit(21, "page21-full")
            player.press("tile 165", 43)
            visit(43, "page43-gauntlet")
            player.press("tile 156", 21)
            player.press("tile 156", 10)
            player.press("tile 171", 21)
            visit(21)
            player.press("tile 156", 10)
            player.press("tile 156", 1)

            player.press("tile 88", 11)
            visit(11)
            for stage in range(8):
                player.press("tile %d" % (169 + stage), 12 + stage)
                visit(12 + stage)
                if stage in (0, 2):
                    player.press("tile %d" % (89 + 8 * stage + 3), 20)
                    visit(20, "page20-level%d" % (8 * stage + 3))
                    player.press("tile 165", 43)
                    visit(43, "page43-level%d" % (8 * stage + 3))
                    player.press("tile 156", 20)
                    player.press("tile 156", 12 + stage)
                player.press("tile 156", 11)
            player.press("tile 156", 1)

            player.press("tile 160", 23)
            visit(23)
            player.press("row Audio", 25)
            visit(25)
            player.press("tile 156", 23)
            player.press("row Controls", 27)
            visit(27)
            player.press("text", 24)
            visit(24)
            player.press("tile 156", 27)
            player.press("tile 156", 23)
            player.press("row Information", 28)
            visit(28)
            player.press("row Know your enemy", 29)
            visit(29)
            for label, page in (("How many??", 36), ("Basic enemies", 37), ("Spawners", 38), ("Landers", 39),
                                ("Builders", 40), ("Bosses", 41), ("Spawner bosses", 42)):
                player.press("row " + label, page)
                visit(page)
                player.press("tile 156", 29)
            player.press("tile 156", 28)
            for label, page in (("Score keeping", 30), ("Achievements", 31), ("Basic Shooting", 32),
                                ("Lock Tactics", 33), ("Planet Cannon", 34), ("General strategy", 35)):
                player.press("row " + label, page)
                visit(page)
                player.press("tile 156", 28)
            player.press("tile 156", 23)
            player.press("tile 156", 1)

            # A Classic game: fight a while, then give up.
            player.press("tile 86", 9)
            player.press("tile 161", 2)
            play_until_scored(player, size, lambda: visit(2, "page02-classic"), lambda: visit(4))
            visit(5)
            player.press("tile 157", 9)
            game.process.send_signal(signal.SIGTERM)
            check(game.wait(60) == 0, "exit status after SIGTERM")
        finally:
            game.kill()
            with open(os.path.join(out, "tour.log"), "w") as log:
                log.write("\n".join(game.output()) + "\n")

    # The pages no button leads to, and the results of a won game, on a
    # scripted start (fixed steps, pages and screenshots on set frames).
    shots = {0: 40, 3: 80, 26: 120}
    requests = ["%d:%d" % (frame - 25, page) for page, frame in shots.items()]
    capture = ",".join("%d:%s" % (frame, os.path.join(out, "page%02d.png" % page)) for page, frame in shots.items())
    quit_script = os.path.join(out, "quit.script")
    with open(quit_script, "w") as f:
        f.write("130 quit\n")
    with e2e.Xvfb(size) as server:
        env = e2e.game_environment(save, {"DISPLAY": server.display, "COBALT_KEEP_SCREEN": "%dx%d" % size,
                                          "COBALT_KEEP_FIXED_STEP": "1", "COBALT_KEEP_EVENT_SCRIPT": quit_script,
                                          "COBALT_KEEP_SHOW_PAGES": ",".join(requests), "COBALT_KEEP_SHOT": capture})
        game = e2e.launch([game_path], env, ready="game started")
        try:
            check(game.wait(120) == 0, "the scripted start failed:\n" + "\n".join(game.output()[-30:]))
        finally:
            game.kill()
        for page in shots:
            check("page %d" % page in game.trace_names(), "page %d was not shown" % page)
            seen.add(page)
            player.shots["page%02d" % page] = os.path.join(out, "page%02d.png" % page)

    missing = sorted(set(range(44)) - seen)
    check(not missing, "pages never shown: %s" % missing)
    for name, path in sorted(player.shots.items()):
        page = int(re.match(r"page(\d+)", name).group(1)) if name.startswith("page") else 2
        check_page_shot(path, page, size)


def start_score_server(out):
    db = os.path.join(out, "scores.sqlite3")
    if os.path.exists(db):
        os.remove(db)
    server = subprocess.Popen([sys.executable, SCORE_SERVER, "--port", "0", "--db", db, "--control",
                               "--exit-with-stdin"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    first = server.stdout.readline().split()
    check(len(first) == 4 and first[0] == "PORT", "the score server did not start: %s" % first)
    return server, int(first[1])


def dump_scores(port):
    import urllib.request
    with urllib.request.urlopen("http://127.0.0.1:%d/?dump" % port, timeout=10) as reply:
        return reply.read().decode()


LEADERBOARD = re.compile(r"^leaderboard state (\d+), (\d+) rows$")


def wait_leaderboard_rows(game, timeout=120):
    """Waits until the leaderboard page last said it is idle with rows."""
    deadline = time.time() + timeout
    while True:
        states = [LEADERBOARD.match(name) for name in game.trace_names()]
        states = [m for m in states if m]
        if states and states[-1].group(1) == "0" and int(states[-1].group(2)) > 0:
            return
        check(time.time() < deadline and game.process.poll() is None,
              "the leaderboard shows no rows; trace:\n%s" % "\n".join(game.trace_names()[-30:]))
        time.sleep(0.1)


def case_classic(game_path, out, size):
    save = fresh_folder(out, "save-classic")
    seed_first_run(game_path, save)
    server, port = start_score_server(out)
    try:
        with e2e.Xvfb(size) as x:
            env = e2e.game_environment(save, {"DISPLAY": x.display, "COBALT_KEEP_SCREEN": "%dx%d" % size,
                                              "COBALT_KEEP_SCORE_SERVER": "http://127.0.0.1:%d/" % port})
            game = e2e.launch([game_path], env)
            player = Player(game, x.display, out, size)
            try:
                player.wait_page(1)
                player.press("tile 86", 9)
                player.press("tile 161", 2)
                play_until_scored(player, size, lambda: player.shot("classic-fight"),
                                  lambda: player.shot("classic-results"))
                player.shot("name-entry")
                # The first letter's drum, dragged down by one character:
                # "A" becomes "." (the drum wraps).
                _, dx, dy, dw, dh = player.target("element", 0)
                player.find_window()
                xdotool(x.display, "mousemove", "--window", player.window, dx, dy, "mousedown", "1")
                # A frame for every step of the drag, as a hand would move.
                for step in range(1, 7):
                    xdotool(x.display, "mousemove", "--window", player.window, dx, int(dy + dh * 0.3 * step / 6))
                    game.wait_frames(1)
                # Held still before the release: no flick, the drum snaps.
                game.wait_frames(20)
                xdotool(x.display, "mouseup", "1")
                game.wait_frames(45)
                player.shot("name-drum")
                player.press("tile 157", 9)
                player.press("tile 158", 6)
                # The submission and the leaderboard's answer.
                deadline = time.time() + 120
                rows = ""
                while time.time() < deadline:
                    rows = dump_scores(port)
                    if rows.strip():
                        break
                    time.sleep(0.5)
                check(rows.strip(), "nothing reached the score server")
                fields = rows.strip().splitlines()[-1].split()
                check(fields[1] == "3000", "the row is not Classic's table: %s" % rows)
                check(fields[4] == ".AA", "the name on the server is %s, not .AA" % fields[4])
                check(int(fields[5]) > 0, "the score on the server is %s" % fields[5])
                wait_leaderboard_rows(game)
                game.wait_frames(15)
                path = player.shot("leaderboard")
                check_page_shot(path, 6, size)
                game.process.send_signal(signal.SIGTERM)
                check(game.wait(60) == 0, "exit status after SIGTERM")
            finally:
                game.kill()
                with open(os.path.join(out, "classic.log"), "w") as log:
                    log.write("\n".join(game.output()) + "\n")
    finally:
        server.stdin.close()
        try:
            server.wait(10)
        except subprocess.TimeoutExpired:
            server.kill()


STATE = re.compile(r"^state (saved|restored): page (\d+), wave (\d+)$")


def case_resume(game_path, out, size):
    save = fresh_folder(out, "save-resume")
    seed_first_run(game_path, save)
    with e2e.Xvfb(size) as x:
        env = e2e.game_environment(save, {"DISPLAY": x.display, "COBALT_KEEP_SCREEN": "%dx%d" % size})
        game = e2e.launch([game_path], env)
        player = Player(game, x.display, out, size)
        try:
            player.wait_page(1)
            player.press("tile 86", 9)
            player.press("tile 161", 2)
            game.wait_frames(150)
            player.shot("resume-before")
            game.process.send_signal(signal.SIGTERM)
            check(game.wait(60) == 0, "exit status after SIGTERM")
        finally:
            game.kill()
        saved = [STATE.match(name) for name in game.trace_names()]
        saved = [m for m in saved if m and m.group(1) == "saved"]
        check(saved, "SIGTERM saved no state:\n" + "\n".join(game.output()[-20:]))
        page, wave = int(saved[-1].group(2)), int(saved[-1].group(3))
        check(page == 2, "the state was saved on page %d" % page)

        game = e2e.launch([game_path], env)
        player = Player(game, x.display, out, size)
        try:
            player.wait_page(23)
            restored = [STATE.match(name) for name in game.trace_names()]
            restored = [m for m in restored if m and m.group(1) == "restored"]
            check(restored, "nothing was restored")
            check((int(restored[0].group(2)), int(restored[0].group(3))) == (2, wave),
                  "restored page %s wave %s, saved page 2 wave %d" % (restored[0].group(2), restored[0].group(3),
                                                                       wave))
            names = game.trace_names()
            check(names.index("page 2") < names.index("page 23"), "the game did not come back before its pause")
            with open(os.path.join(save, "cobalt-keep", "state.sav"), "rb") as f:
                check(f.read() == b"\x03\x00\x00\x00\x00", "state.sav was not finished after the restore")
            player.shot("resume-paused")
            player.press("tile 157", 2)
            game.wait_frames(30)
            player.shot("resume-playing")
            game.process.send_signal(signal.SIGTERM)
            check(game.wait(60) == 0, "exit status after SIGTERM")
        finally:
            game.kill()


CASES = {"tutorial": case_tutorial, "classic": case_classic, "resume": case_resume}


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    game_path, out, case = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    missing = e2e.missing_tools()
    if missing:
        print("FAILED (%s): %s not installed (scripts/install-deps installs them)" % (case, ", ".join(missing)))
        return 1
    out = os.path.join(out, case)
    os.makedirs(out, exist_ok=True)
    try:
        if case.startswith("tour-"):
            w, h = (int(v) for v in case[len("tour-"):].split("x"))
            case_tour(game_path, out, (w, h))
        elif case in CASES:
            CASES[case](game_path, out, (320, 480))
        else:
            print(__doc__)
            return 2
    except Failure as failure:
        print("FAILED (%s): %s" % (case, failure))
        return 1
    print("passed (%s); files in %s" % (case, out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
