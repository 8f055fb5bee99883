#!/usr/bin/env python3
"""Runs simrun and compares its trace with a committed golden trace, line by
line; the first difference fails the test.

  compare_trace.py --golden FILE [--update] -- SIMRUN ARGS...
  compare_trace.py --save-check TICK -- SIMRUN ARGS...

--update rewrites the golden file (after a deliberate change of the game).
--save-check saves the game at TICK, loads the file in a second run and
checks that the loaded game saves to the same bytes (equal hashes)."""
import argparse
import os
import subprocess
import sys
import tempfile


def run(command):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=300)
    if result.returncode != 0:
        sys.exit(f"{' '.join(command)} failed ({result.returncode}):\n{result.stderr}")
    return result.stdout.splitlines()


def compare(golden_path, command, update):
    lines = run(command)
    if update:
        with open(golden_path, "w") as f:
            f.write("\n".join(lines) + "\n")
        print(f"wrote {golden_path} ({len(lines)} lines)")
        return 0
    with open(golden_path) as f:
        golden = f.read().splitlines()
    for number, (want, got) in enumerate(zip(golden, lines), 1):
        if want != got:
            print(f"{golden_path}:{number}: the trace differs\n  golden: {want}\n  now:    {got}")
            return 1
    if len(golden) != len(lines):
        print(f"{golden_path}: {len(golden)} golden lines, {len(lines)} now")
        return 1
    print(f"{len(lines)} lines match {os.path.basename(golden_path)}")
    return 0


def save_check(tick, command):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "game.sav")
        first = run(command + ["--ticks", str(tick), "--every", str(tick), "--save-at", str(tick), path])
        saved = [line for line in first if line.startswith(f"{tick} ")]
        reloaded = run([command[0], "--seed", "1", "--mode", "0", "--ticks", "0", "--load", path])
        if len(saved) != 1 or not reloaded or not reloaded[0].startswith("0 "):
            print("unexpected traces:", first, reloaded)
            return 1
        want, got = saved[0].split()[1], reloaded[0].split()[1]
        if want != got:
            print(f"the game saved at tick {tick} hashes {want}, loaded and saved again {got}")
            return 1
        print(f"tick {tick}: saved and reloaded game hash {want}")
        return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--golden")
    parser.add_argument("--update", action="store_true")
    parser.add_argument("--save-check", type=int)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if args.save_check is not None:
        return save_check(args.save_check, command)
    return compare(args.golden, command, args.update)


if __name__ == "__main__":
    sys.exit(main())
