#!/usr/bin/env python3
"""Writes a few small ".type" font files into the folder given as the last
argument: seeds for the font reader's fuzzer. Written with its own bit
packer, independent of the engine's writer."""
import os
import struct
import sys
import zlib


def png(width, height):
    raw = b""
    for _ in range(height):
        raw += b"\x00" + b"".join(bytes([255, 255, 255, (x * 255) // max(1, width - 1)]) for x in range(width))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


class Bits:
    def __init__(self):
        self.out = bytearray()
        self.position = 0

    def put(self, value, count):
        for i in range(count - 1, -1, -1):
            if self.position % 8 == 0:
                self.out.append(0)
            if (value >> i) & 1:
                self.out[-1] |= 0x80 >> (self.position % 8)
            self.position += 1

    def align(self):
        while self.position % 8:
            self.put(0, 1)


def type_file(name, glyphs, kerning, texture, gap=b""):
    def body(total):
        b = Bits()
        b.put(0x54464631, 32)
        b.put(total, 32)
        b.put(len(name), 5)
        for c in name:
            b.put(ord(c) & 127, 7)
        b.align()
        for value in (20, 16, 24, 2):
            b.put(value & 0xFFFFFFFF, 32)
        b.put(len(glyphs), 32)
        for code, blank, advance, x, y, u, v, w, h in glyphs:
            b.put(code, 16)
            b.put(1 if blank else 0, 1)
            b.put(advance, 15)
            if not blank:
                for value in (advance, x, y, u, v, w, h):
                    b.put(value, 16)
        b.put(len(glyphs), 32)
        for index, glyph in enumerate(glyphs):
            b.put(glyph[0], 16)
            b.put(index, 16)
        b.put(len(kerning), 32)
        for key, amount in kerning:
            b.put(key, 32)
            b.put(amount & 0xFFFFFFFF, 32)
        b.put(0, 16)
        b.put(len(texture), 32)
        for byte in gap + texture:
            b.put(byte, 8)
        return bytes(b.out)

    return body(len(body(0)))


def main():
    folder = sys.argv[-1]
    os.makedirs(folder, exist_ok=True)
    glyphs = [(65, False, 10, 1, 2, 0, 0, 8, 12), (66, False, 12, 0, 2, 8, 0, 10, 12),
              (32, True, 5, 0, 0, 0, 0, 0, 0), (160, True, 5, 0, 0, 0, 0, 0, 0)]
    texture = png(16, 16)
    seeds = {
        "standard.type": type_file("Seed Face", glyphs, [((65 << 16) + 66, -1)], texture),
        "long_name.type": type_file("ABCDEFGHIJKLMNOPQRSTUVWX", glyphs, [], texture),
        "blank_only.type": type_file("", [(32, True, 5, 0, 0, 0, 0, 0, 0)], [], texture),
        "gap.type": type_file("Gap", glyphs, [], texture, gap=b"\x01\x02\x03"),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
