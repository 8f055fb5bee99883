#!/usr/bin/env python3
"""End-to-end test of the widget gallery under a private Xvfb: an xdotool
click toggles the top check button and a drag takes the middle slider to its
top end; the screenshots must change where those widgets are and nowhere
else that stands still.

    run_gallery_e2e.py GALLERY OUTPUT_DIR

Screenshots (gallery_frame1.png, before.png, after_click.png, after_drag.png)
and the log stay in OUTPUT_DIR. Exit status 0 passes."""

import os
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "e2e"))
import e2e_support as e2e  # noqa: E402
from e2e_support import Failure, check, wait_for, xdotool  # noqa: E402

WINDOW = "^Cobalt Keep Widgets$"

# The gallery's layout (tests/widgets/gallery/GalleryScreen.cpp), UI pixels =
# window pixels on a 320 x 480 screen: (x, y, width, height).
CHECK_ON = (10, 50, 300, 40)       # interactive, starts on
CHECK_OFF = (10, 94, 300, 40)      # always off
SLIDER_MIDDLE = (10, 186, 300, 36)  # interactive, 0..100 from 50
SLIDER_LOW = (10, 226, 300, 36)    # 0
SLIDER_HIGH = (10, 266, 300, 36)   # 100
PARAGRAPH = (12, 396, 296, 80)
FACE_WIDTH = 78.0 * 40 / 70        # the check button's square face
KNOB_WIDTH = 78.0 * 36 / 70


def region(data, area):
    x, y, w, h = area
    return [e2e.pixel(data, i, j) for j in range(y, y + h) for i in range(x, x + w)]


def difference(a, b, area, other=None):
    """Mean absolute channel difference of an area in two shots (or of two
    areas of the same size)."""
    first = region(a, area)
    second = region(b, other or area)
    return sum(abs(p - q) for s, t in zip(first, second) for p, q in zip(s, t)) / (3.0 * len(first))


def face(area):
    x, y, w, h = area
    return (x + 4, y + 4, int(FACE_WIDTH) - 8, h - 8)


def mean_colour(data, area):
    pixels = region(data, area)
    return tuple(sum(p[k] for p in pixels) / float(len(pixels)) for k in range(3))


def knob_x(value, area=SLIDER_MIDDLE):
    x, _, w, _ = area
    start = 0.42 * KNOB_WIDTH
    return x + start + (w - 2 * start) * value / 100.0


def screenshot(display, path):
    subprocess.run(["import", "-display", display, "-window", "root", path], check=True)
    return e2e.read_rgb(path)


# The areas that stand still once the press highlights have run out (the
# title and the held buttons pulse for ever).
STILL = ((10, 50, 300, 128), (10, 186, 300, 116), PARAGRAPH)


def settled_screenshot(game, display, path, timeout=30):
    """A screenshot taken once the still areas stopped changing: a press
    highlight runs out in 2/3 s of frames, longer on a loaded machine."""
    deadline = time.time() + timeout
    last = screenshot(display, path)
    while time.time() < deadline:
        check(game.process.poll() is None, "the gallery stopped:\n" + "\n".join(game.output()))
        time.sleep(0.4)
        shot = screenshot(display, path)
        if all(difference(last, shot, area) == 0.0 for area in STILL):
            return shot
        last = shot
    raise Failure("the screen did not settle: " + path)


def run(gallery, out):
    frame1 = os.path.join(out, "gallery_frame1.png")
    with e2e.Xvfb() as server:
        env = e2e.game_environment(os.path.join(out, "save"), {
            "DISPLAY": server.display,
            "COBALT_KEEP_SHOT": "1:" + frame1,
        })
        game = e2e.launch([gallery], env)
        try:
            wait_for(game, "frame 1 saved")
            before = settled_screenshot(game, server.display, os.path.join(out, "before.png"))
            window = xdotool(server.display, "search", "--name", WINDOW).split()[0]

            # A click on the check button's plate turns it off.
            xdotool(server.display, "mousemove", "--window", window, 200, 70, "click", 1)
            wait_for(game, "gallery check 0")
            after_click = settled_screenshot(game, server.display, os.path.join(out, "after_click.png"))

            # A drag from the knob past the right end takes the slider to 100.
            y = SLIDER_MIDDLE[1] + SLIDER_MIDDLE[3] // 2
            steps = ["mousemove", "--window", window, int(knob_x(50)), y, "mousedown", 1]
            for x in range(int(knob_x(50)) + 20, 321, 20):
                steps += ["mousemove", "--window", window, min(x, 319), y]
            steps += ["mouseup", 1]
            xdotool(server.display, *steps)
            wait_for(game, "gallery slider 100")
            # The release's value comes after the last move's.
            time.sleep(0.2)
            after_drag = settled_screenshot(game, server.display, os.path.join(out, "after_drag.png"))

            game.process.send_signal(signal.SIGTERM)
            code = game.wait(60)
        finally:
            game.kill()
        with open(os.path.join(out, "gallery.log"), "w") as log:
            log.write("\n".join(game.output()) + "\n")
    check(code == 0, "exit status %s after SIGTERM" % code)
    check(os.path.exists(frame1), "the frame-1 shot was not written")
    names = game.trace_names()
    slider_values = [int(n.split()[-1]) for n in names if n.startswith("gallery slider ")]
    check(slider_values and slider_values[0] == 50 and slider_values[-1] == 100
          and slider_values == sorted(slider_values),
          "the slider did not go from 50 up to 100: %s" % slider_values)
    check(names.count("gallery check 0") == 1 and "gallery check 1" not in names,
          "one click, one toggle: %s" % names)

    # The click: the check button's face went from green (on) to red (off),
    # and now looks like the other off button's face; the rest stood still.
    on_face, off_face = mean_colour(before, face(CHECK_ON)), mean_colour(after_click, face(CHECK_ON))
    check(on_face[1] > on_face[0] + 10 and off_face[0] > off_face[1] + 10,
          "the face did not turn from green to red: %s -> %s" % (on_face, off_face))
    check(difference(before, after_click, CHECK_ON) > 8.0, "the clicked check button did not change")
    check(difference(after_click, after_click, face(CHECK_ON), face(CHECK_OFF)) < 3.0,
          "the clicked button's face does not look like an off button's face")
    for name, area in (("off check button", CHECK_OFF), ("middle slider", SLIDER_MIDDLE),
                       ("low slider", SLIDER_LOW), ("high slider", SLIDER_HIGH), ("paragraph", PARAGRAPH)):
        check(difference(before, after_click, area) < 1.0, "the %s changed on the click" % name)

    # The drag: the middle slider changed and now looks like the one at 100.
    check(difference(after_click, after_drag, SLIDER_MIDDLE) > 4.0, "the dragged slider did not change")
    check(difference(after_click, after_click, SLIDER_MIDDLE, SLIDER_HIGH) > 4.0,
          "before the drag the middle slider already looked like the one at 100")
    check(difference(after_drag, after_drag, SLIDER_MIDDLE, SLIDER_HIGH) < 2.0,
          "after the drag the middle slider does not look like the one at 100")
    for name, area in (("check buttons", (10, 50, 300, 128)), ("low slider", SLIDER_LOW),
                       ("high slider", SLIDER_HIGH), ("paragraph", PARAGRAPH)):
        check(difference(after_click, after_drag, area) < 1.0, "the %s changed on the drag" % name)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    missing = e2e.missing_tools()
    if missing:
        print("FAILED: %s not installed (scripts/install-deps installs them)" % ", ".join(missing))
        return 1
    gallery, out = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    out = os.path.join(out, "gallery_e2e")
    os.makedirs(out, exist_ok=True)
    try:
        run(gallery, out)
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    print("passed; screenshots in %s" % out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
