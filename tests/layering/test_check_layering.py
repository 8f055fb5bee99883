#!/usr/bin/env python3
"""Tests of check_layering.py on small trees planted in a temporary folder,
checked against the real allowed_layers.txt: each planted crossing must be
reported (and only it), and what the rules allow must pass."""

import io
import os
import shutil
import sys
import tempfile
import unittest
from contextlib import redirect_stdout

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_layering  # noqa: E402

RULES = os.path.join(HERE, "allowed_layers.txt")

# A tree that keeps to the rules: path -> includes.
CLEAN = {
    "engine/platform/PlatformLibrary.h": [],
    "engine/core/Log.h": ['"engine/platform/PlatformLibrary.h"', "<cstdio>"],
    "engine/core/FrameEvents.h": ['"engine/core/Log.h"'],
    "engine/graphics/GL.h": ["<GLES/gl.h>", '"engine/core/Log.h"'],
    "engine/graphics/Texture.cpp": ['"engine/graphics/GL.h"', '"engine/core/FrameEvents.h"'],
    "engine/audio/Music.cpp": ['"engine/core/FrameEvents.h"'],
    "engine/audio/sdl/SdlMixerBackend.cpp": ['"engine/audio/Music.cpp"', "<SDL_mixer.h>"],
    "engine/ui/InternalCore.h": ['"engine/core/Log.h"'],
    "engine/ui/UIManager.h": ['"engine/graphics/Texture.cpp"', '"engine/audio/Music.cpp"', '"engine/ui/InternalCore.h"'],
    "engine/display/GLContext.cpp": ["<SDL.h>", "<EGL/egl.h>", '"engine/graphics/GL.h"'],
    "game/widgets/UISlider.h": ['"engine/ui/UIManager.h"'],
    "game/scores/HighScores.h": ['"engine/core/Log.h"'],
    "game/simulation/Simulation.h": ['"engine/graphics/Texture.cpp"', '"game/scores/HighScores.h"'],
    "game/simulation/draw/SimulationDraw.cpp": ['"engine/graphics/GL.h"', '"game/simulation/Simulation.h"'],
    "game/play/GameScreen.cpp": ['"game/simulation/Simulation.h"', '"engine/ui/UIManager.h"'],
    "game/frontend/MainScreen.cpp": ['"game/play/GameScreen.cpp"', '"engine/platform/PlatformLibrary.h"'],
    "app/main.cpp": ['"game/frontend/MainScreen.cpp"', '"engine/display/GLContext.cpp"', "<SDL.h>"],
    "app/App.h": [],
    "tools/simrun/main.cpp": ['"game/simulation/Simulation.h"'],
    "bench/Bench.cpp": ['"tests/support/Latch.h"', "<benchmark/benchmark.h>",
                        '"engine/ui/InternalCore.h"'],  # benchmarks time internals
    "tests/support/Latch.h": ['"app/App.h"', "<SDL.h>"],  # tests may include anything
    "engine/core/Local.cpp": ['"Log.h"'],  # a name beside the including file
}

# (what is planted, path, include, the expected report's ending)
CROSSINGS = [
    ("graphics reaching up to the UI", "engine/graphics/TextureCache.cpp", '"engine/ui/UIManager.h"',
     "graphics may not include ui"),
    ("audio reaching up to the UI", "engine/audio/SoundEffects.cpp", '"engine/ui/UIManager.h"',
     "audio may not include ui"),
    ("the front end reaching into the shell", "game/frontend/GameStartup.cpp", '"app/App.h"',
     "frontend may not include app"),
    ("a tool reaching into the shell", "tools/simrun/Runner.cpp", '"app/App.h"', "tools may not include app"),
    ("the core reaching up to graphics", "engine/core/Texture.cpp", '"engine/graphics/GL.h"',
     "core may not include gl-seam"),
    ("simulation logic naming the GL seam", "game/simulation/Enemy.cpp", '"engine/graphics/GL.h"',
     "simulation may not include gl-seam"),
    ("simulation logic naming the UI", "game/simulation/Waves.cpp", '"engine/ui/UIManager.h"',
     "simulation may not include ui"),
    ("the play screen reaching up to the front end", "game/play/GameScreen.h",
     '"game/frontend/MainScreen.cpp"', "play may not include frontend"),
    ("the world's drawing naming the UI", "game/simulation/draw/EnemyDraw.cpp", '"engine/ui/UIManager.h"',
     "simulation-draw may not include ui"),
    ("the world naming its own drawing", "game/simulation/Enemy.cpp",
     '"game/simulation/draw/SimulationDraw.cpp"', "simulation may not include simulation-draw"),
    ("the play screen naming the widgets", "game/play/SimInfoBar.cpp", '"game/widgets/UISlider.h"',
     "play may not include widgets"),
    ("scores reaching the audio", "game/scores/GamePrefs.cpp", '"engine/audio/Music.cpp"',
     "scores may not include audio"),
    ("an internal header of the UI outside it", "game/frontend/MainScreen.cpp", '"engine/ui/InternalCore.h"',
     "internal to ui"),
    ("scores reaching up to the UI", "game/scores/Awards.cpp", '"engine/ui/UIManager.h"',
     "scores may not include ui"),
    ("SDL in the core", "engine/core/Clock.cpp", "<SDL.h>", "core may not include sdl headers"),
    ("the mixer in engine audio outside its back end", "engine/audio/Mixer.cpp", "<SDL_mixer.h>",
     "audio may not include sdl headers"),
    ("EGL in graphics outside the seam", "engine/graphics/Texture2.cpp", "<EGL/egl.h>",
     "graphics may not include gl headers"),
    ("GL in the widgets", "game/widgets/UIGlow.cpp", "<GLES/gl.h>", "widgets may not include gl headers"),
    ("a quoted include of no module", "engine/graphics/PngReader.cpp", '"lodepng.h"',
     "names no file of a known module"),
]


def plant(root, files):
    for path, includes in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write("// planted\n")
            for include in includes:
                f.write("#include %s\n" % include)


class LayeringCheckerTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="layering-")
        self.rules = check_layering.Rules.read(RULES)
        plant(self.root, CLEAN)

    def tearDown(self):
        shutil.rmtree(self.root)

    def test_a_tree_that_keeps_the_rules_passes(self):
        self.assertEqual(check_layering.check(self.root, self.rules), [])

    def test_each_planted_crossing_is_reported_alone(self):
        for what, path, include, ending in CROSSINGS:
            with self.subTest(what):
                full = os.path.join(self.root, path)
                existed = os.path.exists(full)
                plant(self.root, {path: CLEAN.get(path, []) + [include]})
                problems = check_layering.check(self.root, self.rules)
                self.assertEqual(len(problems), 1, problems)
                self.assertTrue(problems[0].startswith(path + ":"), problems[0])
                self.assertIn("#include " + include, problems[0])
                self.assertTrue(problems[0].endswith(ending), problems[0])
                if existed:
                    plant(self.root, {path: CLEAN[path]})
                else:
                    os.remove(full)

    def test_a_file_outside_every_module_is_reported(self):
        plant(self.root, {"engine/newthing/Thing.cpp": ['"engine/core/Log.h"']})
        self.assertEqual(check_layering.check(self.root, self.rules),
                         ["engine/newthing/Thing.cpp: belongs to no module of the layering rules"])

    def test_the_command_fails_on_a_planted_crossing_and_names_it(self):
        plant(self.root, {"engine/graphics/TextureCache.cpp": ['"engine/ui/UIManager.h"']})
        out = io.StringIO()
        with redirect_stdout(out):
            status = check_layering.main(["check_layering.py", "--root", self.root, "--rules", RULES])
        self.assertEqual(status, 1)
        self.assertIn("engine/graphics/TextureCache.cpp:2: #include \"engine/ui/UIManager.h\": "
                      "graphics may not include ui", out.getvalue())

    def test_an_allowance_no_include_uses_is_reported(self):
        rules_path = os.path.join(self.root, "rules.txt")
        with open(rules_path, "w") as f:
            f.write("module low engine/core/**\nmodule high engine/ui/**\nallow high: low\n")
        rules = check_layering.Rules.read(rules_path)
        tree = os.path.join(self.root, "small")
        plant(tree, {"engine/core/Log.h": [], "engine/ui/UIManager.h": []})
        self.assertEqual(check_layering.unused_allowances(tree, rules),
                         ["high may include low, but no file of it does: drop it from the allow line"])
        plant(tree, {"engine/ui/UIManager.h": ['"engine/core/Log.h"']})
        self.assertEqual(check_layering.unused_allowances(tree, rules), [])

    def test_malformed_rules_are_refused(self):
        cases = [
            ("module core\n", "needs a name and at least one pattern"),
            ("module a x/**\nmodule a y/**\n", "defined twice"),
            ("module a x/**\nallow a: nowhere\n", "unknown names: nowhere"),
            ("module a x/**\nallow b: a\n", "which is no module"),
            ("permit a: b\n", "unknown line kind"),
            ("module a x/*Draw*.cpp\n", "no file-name glob"),
            ("module a x/**/y.h\n", "no file-name glob"),
        ]
        for text, message in cases:
            with self.subTest(text):
                path = os.path.join(self.root, "rules.txt")
                with open(path, "w") as f:
                    f.write(text)
                with self.assertRaises(check_layering.RulesError) as raised:
                    check_layering.Rules.read(path)
                self.assertIn(message, str(raised.exception))


if __name__ == "__main__":
    unittest.main()
