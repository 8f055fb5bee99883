#!/usr/bin/env python3
"""Writes plain (not enciphered) leaderboard replies and a few HTTP replies
into the folder given as the last argument: seeds for the reply fuzzer.
Uses the score server's own wire code, independent of the client's."""
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "scoreserver"))
import wire  # noqa: E402

ROW_SCHEMA = "int64 datetime string:3 int32 int32 int32 byte skip:7"


def plain_reply(status, rows, count=None, length_delta=0):
    writer = wire.BitWriter()
    writer.write(wire.REPLY_MAGIC, 32)
    writer.write(0, 32)  # length, patched below
    writer.write(status, 32)
    writer.write(len(rows) if count is None else count, 32)
    for row in rows:
        wire.write_record(writer, ROW_SCHEMA, row)
    writer.pad(random.Random(7))
    data = bytearray(writer.to_bytes())
    data[4:8] = (len(data) + length_delta).to_bytes(4, "big", signed=True)
    return bytes(data)


def main():
    folder = sys.argv[-1]
    os.makedirs(folder, exist_ok=True)
    rows = [[1000 - i, 1700000000.0 + i, "ABC"[: i % 4], i, i + 1, i + 2, i % 256] for i in range(5)]
    seeds = {
        "rows5": plain_reply(1, rows),
        "rows0": plain_reply(1, []),
        "refused": plain_reply(0xF402, [], count=5),
        "long": plain_reply(1, rows[:1], length_delta=1),
        "overcount": plain_reply(1, rows[:2], count=3),
        "http200": b"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello",
        "http404": b"HTTP/1.1 404 Not Found\r\n\r\n",
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
