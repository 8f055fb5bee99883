#!/usr/bin/env python3
"""Writes small saved files of the game into the folder given as the last
argument: seeds for the saved-file readers' fuzzers. The first argument names
the kind (prefs, awards or scores). Written from the file layouts alone,
independent of the game's writers."""
import os
import struct
import sys


def prefs(name=b"AAA", version=19):
    return (struct.pack("<iBff4Bi", version, 1, 1.0, 1.0, 1, 1, 1, 1, len(name)) + name +
            struct.pack("<iiBfffB", 10, 0, 1, 0.0, -1.0, 0.0, 1))


def awards(version=7, pattern=0):
    flags = bytes(((i * 7 + pattern) % 5 == 0) for i in range(216))
    return struct.pack("<i", version) + flags


def entry(score=0, name=b"---", date=0.0):
    return (struct.pack("<qiiB3xi", score, score // 10, 7, 1, 90) + struct.pack("<d", date) +
            struct.pack("<i", len(name)) + name)


def scores(version=6, listed=()):
    body = struct.pack("<iiBiiB", version, 0, 1, 0, 0, 0)
    body += entry() + entry() + entry()
    body += struct.pack("<i", len(listed)) + b"".join(entry(s, n, d) for s, n, d in listed)
    return body + struct.pack("<d", 0.0)


def main():
    kind, folder = sys.argv[1], sys.argv[-1]
    os.makedirs(folder, exist_ok=True)
    seeds = {
        "prefs": [prefs(), prefs(b""), prefs(b"BOB", 18)],
        "awards": [awards(), awards(pattern=3), awards(6)],
        "scores": [scores(), scores(5, [(1200, b"AAA", 1.0e9)]),
                   scores(6, [(900, b"TOP", 2.0), (100, b"LOW", 1.0)])],
    }[kind]
    for i, seed in enumerate(seeds):
        with open(os.path.join(folder, "%s-%d" % (kind, i)), "wb") as out:
            out.write(seed)


if __name__ == "__main__":
    main()
