"""Helpers of the end-to-end tests: a private Xvfb server, launching the game
with its trace on (retrying a launch that cannot reach the X server), reading
its trace lines and its screenshots."""

import os
import re
import select
import shutil
import subprocess
import threading
import time

SCREEN = (320, 480)
# "trace: <tag>: <what> @<seconds>"; the tag is one word.
TRACE = re.compile(r"^trace: [\w-]+: (.*) @(\d+\.\d+)$")
# Signs of a launch that lost the race with the X server (a few percent of
# starts on a fresh Xvfb).
CONNECT_FAILURES = ("Video initialization failed", "Couldn't open X11 display", "could not be opened",
                    "no X11 window")


# What the window tests run besides the program (scripts/install-deps
# installs them all).
TOOLS = ("Xvfb", "xdotool", "import", "convert", "xdpyinfo")


def missing_tools(tools=TOOLS):
    return [tool for tool in tools if not shutil.which(tool)]


class Failure(Exception):
    """A failed end-to-end check."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def xdotool(display, *args):
    args = [str(a) for a in args]
    result = subprocess.run(["xdotool"] + args, env=dict(os.environ, DISPLAY=display),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    check(result.returncode == 0, "xdotool %s failed: %s" % (" ".join(args), result.stderr))
    return result.stdout.strip()


def wait_for(game, name, timeout=120):
    """Waits for a trace line; the timeout only bounds a hang."""
    check(game.wait_for_trace(name, timeout) is not None,
          "no \"%s\" in the trace; got:\n%s" % (name, "\n".join(game.output())))


# A press counts as a further tap at most 319 ms after the finger's release,
# by the game's clock (its trace lines carry that time).
TAP_INTERVAL = 0.319
DOWN = re.compile(r"^touch down 0 \((-?\d+), (-?\d+)\) taps (\d+)$")


def double_click(game, display, window, x, y, attempts=5):
    """A double click at (x, y) that the game takes as a double tap. The
    second click can reach a loaded game's loop late: the game judges the
    gap by its own clock, and a pair that reached it further apart than a
    double tap allows is clicked again; a pair within it must count 2."""
    for _ in range(attempts):
        start = len(game.traces())
        xdotool(display, "mousemove", "--window", window, x, y, "click", "--repeat", "2", "--delay", "120", "1")
        up = "touch up 0 (%d, %d)" % (x, y)
        steps = []

        def second_press(at, what):
            if DOWN.match(what) or what == up:
                steps.append(at)
            return len(steps) == 3
        index = game.wait_until(second_press, start=start)
        check(index is not None, "the double click at (%d, %d) did not reach the game; trace:\n%s" % (
            x, y, "\n".join(game.trace_names()[start:])))
        traces = game.traces()
        taps = int(DOWN.match(traces[index][0]).group(3))
        if taps == 2:
            return
        gap = traces[index][1] - traces[steps[1]][1]
        check(gap > TAP_INTERVAL - 0.02, "a press %.0f ms after the release counted as tap %d" % (gap * 1000, taps))
        # Far enough apart that the next click starts a new count.
        time.sleep(2 * TAP_INTERVAL)
    raise Failure("%d double clicks all reached the game too far apart" % attempts)


class Xvfb:
    """A private X server on a free display number."""

    def __init__(self, size=SCREEN):
        if not shutil.which("Xvfb"):
            raise RuntimeError("Xvfb is not installed (scripts/install-deps installs it)")
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % size, "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.time()))
            if not ready:
                self.stop()
                raise RuntimeError("Xvfb did not report its display")
            chunk = os.read(read_end, 16)
            if not chunk:
                self.stop()
                raise RuntimeError("Xvfb exited before reporting its display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.wait_ready()

    def wait_ready(self, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if subprocess.run(["xdpyinfo", "-display", self.display], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                return
            time.sleep(0.1)
        raise RuntimeError("the X server on %s did not answer" % self.display)

    def env(self, extra=None):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.update(extra or {})
        return env

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *args):
        self.stop()


def game_environment(save_dir, extra=None):
    env = dict(os.environ)
    env.update({"COBALT_KEEP_TRACE": "1", "SDL_AUDIODRIVER": "dummy", "XDG_DATA_HOME": save_dir})
    # The game's own allocations are checked by the unit tests; here Mesa's
    # and libX11's kept-to-exit memory is not ours to report.
    env.setdefault("ASAN_OPTIONS", "")
    env["ASAN_OPTIONS"] = "detect_leaks=0:abort_on_error=1"
    env.update(extra or {})
    return env


FRAME = re.compile(r"^frame (\d+) drawn$")


class Game:
    """A running game whose stderr is collected line by line. The scripts
    wait for what the game says it did (its trace), never for wall time: a
    loaded machine or a sanitizer build draws far fewer frames a second."""

    def __init__(self, command, env):
        self.started = time.time()
        self.process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        text=True, errors="replace")
        self.lines = []
        self.parsed = []  # (what, time) of the trace lines among lines[:self.parsed_lines]
        self.parsed_lines = 0
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stderr:
            with self.lock:
                self.lines.append(line.rstrip("\n"))

    def output(self):
        with self.lock:
            return list(self.lines)

    def traces(self):
        """The trace lines as (what, time)."""
        with self.lock:
            for line in self.lines[self.parsed_lines:]:
                match = TRACE.match(line)
                if match:
                    self.parsed.append((match.group(1), float(match.group(2))))
            self.parsed_lines = len(self.lines)
            return list(self.parsed)

    def trace_names(self):
        return [name for name, _ in self.traces()]

    def wait_until(self, found, timeout=120, start=0):
        """Waits until found(index, what) holds for a trace line from index
        start on; returns that index, or None when the game ended or the
        timeout (a bound for a hang, not a pace) passed first."""
        deadline = time.time() + timeout
        while True:
            ended = self.process.poll() is not None
            if ended:
                self.reader.join(5)
            traces = self.traces()
            for index in range(start, len(traces)):
                if found(index, traces[index][0]):
                    return index
            start = max(start, len(traces))
            if ended or time.time() > deadline:
                return None
            time.sleep(0.02)

    def wait_for_trace(self, name, timeout=120, start=0):
        """The time of the first trace line name from index start on."""
        index = self.wait_until(lambda _, what: what == name, timeout, start)
        return None if index is None else self.traces()[index][1]

    def frame(self):
        """The last frame drawn (0 before the first)."""
        for what, _ in reversed(self.traces()):
            match = FRAME.match(what)
            if match:
                return int(match.group(1))
        return 0

    def wait_frames(self, count, timeout=300):
        """Waits until count more frames were drawn (the game's own time:
        30 a second of play)."""
        target = self.frame() + count

        def reached(_, what):
            match = FRAME.match(what)
            return match is not None and int(match.group(1)) >= target
        check(self.wait_until(reached, timeout) is not None,
              "frame %d was not drawn; output:\n%s" % (target, "\n".join(self.output()[-30:])))

    def wait(self, timeout=60):
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise
        self.reader.join(10)
        return code

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def launch(command, env, ready="first frame drawn", attempts=5, timeout=60):
    """Starts the game and waits for the ready trace; a start that fails to
    reach the X server is tried again. Returns the running Game."""
    last = None
    for attempt in range(1, attempts + 1):
        game = Game(command, env)
        if game.wait_for_trace(ready, timeout) is not None:
            return game
        game.kill()
        game.reader.join(5)
        text = "\n".join(game.output())
        last = text
        if not any(failure in text for failure in CONNECT_FAILURES):
            break
        time.sleep(0.5 * attempt)
    raise AssertionError("the game did not reach \"%s\"; its output:\n%s" % (ready, last))


def read_rgb(path, size=SCREEN):
    """The image's pixels, resized to size, as bytes of r, g, b."""
    data = subprocess.run(["convert", path, "-resize", "%dx%d!" % size, "-depth", "8", "rgb:-"],
                          check=True, stdout=subprocess.PIPE).stdout
    if len(data) != size[0] * size[1] * 3:
        raise AssertionError("%s: unexpected pixel data" % path)
    return data


def pixel(data, x, y, width=SCREEN[0]):
    i = (y * width + x) * 3
    return data[i], data[i + 1], data[i + 2]


def mean_difference(a, b):
    return sum(abs(p - q) for p, q in zip(a, b)) / float(len(a))


def flipped_rows(data, size=SCREEN):
    row = size[0] * 3
    return b"".join(data[y * row:(y + 1) * row] for y in range(size[1] - 1, -1, -1))


def is_planet_blue(p):
    return p[2] > 120 and p[2] > p[0] + 50


def planet_centre(shot):
    """A point well inside the planet's disc: the middle of the first
    32 px patch that is blue all over (the disc is solid; the HUD's blue
    text, the bullets and the stars are thin)."""
    cell = 4
    columns, rows = SCREEN[0] // cell, SCREEN[1] // cell
    blue = [[0] * columns for _ in range(rows)]
    for row in range(rows):
        for column in range(columns):
            blue[row][column] = sum(1 for y in range(row * cell, row * cell + cell, 2)
                                    for x in range(column * cell, column * cell + cell, 2)
                                    if is_planet_blue(pixel(shot, x, y)))
    span = 8  # cells: a 32 px window
    best, at = -1, None
    for row in range(rows - span + 1):
        for column in range(columns - span + 1):
            total = sum(sum(blue[r][column:column + span]) for r in range(row, row + span))
            if total > best:
                best, at = total, (column, row)
    check(best > span * span * 2, "no planet on the screen (%d blue samples at best)" % best)
    return at[0] * cell + span * cell // 2, at[1] * cell + span * cell // 2
