#!/usr/bin/env python3
"""Writes a few small WAV files into the folder given as the last argument:
seeds for the WAV loader's fuzzer (accepted and refused shapes)."""
import os
import struct
import sys


def wav(channels=1, rate=44100, bits=16, samples=(), fmt_size=16, data_tag=b"data", declared=None):
    data = b"".join(struct.pack("<h", s) for s in samples)
    size = len(data) if declared is None else declared
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", fmt_size, 1, channels, rate, rate * channels * bits // 8,
                                     channels * bits // 8, bits)
    header += data_tag + struct.pack("<I", size)
    return header + data


def main():
    folder = sys.argv[-1]
    os.makedirs(folder, exist_ok=True)
    ramp = [((i * 331) % 2000) - 1000 for i in range(200)]
    seeds = {
        "mono.wav": wav(samples=ramp),
        "stereo.wav": wav(channels=2, rate=22050, samples=ramp),
        "short.wav": wav(samples=ramp[:10]),
        "beyond.wav": wav(samples=ramp[:41], declared=100000),
        "eight_bit.wav": wav(bits=8, samples=ramp[:20]),
        "three_channels.wav": wav(channels=3, samples=ramp[:30]),
        "list_chunk.wav": wav(samples=ramp[:20], data_tag=b"LIST"),
        "header_only.wav": wav(samples=()),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
