#!/usr/bin/env python3
"""Writes the texture files of the reader tests into the folder given.

Made with the standard library only (zlib, lzma, struct), independently of
the engine's own readers. Pixel bytes follow one formula, shared with the
C++ tests: value(x, y, c) = (x * 40 + y * 90 + c * 60 + 7) % 256.
"""
import lzma
import os
import struct
import sys
import zlib


def value(x, y, c):
    return (x * 40 + y * 90 + c * 60 + 7) % 256


def pixels(width, height, channels):
    return bytes(value(x, y, c) for y in range(height) for x in range(width) for c in range(channels))


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, color_type, channels, data=None):
    if data is None:
        data = pixels(width, height, channels)
    stride = width * channels
    rows = b"".join(b"\x00" + data[y * stride:(y + 1) * stride] for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", zlib.compress(rows))
            + png_chunk(b"IEND", b""))


def lzma_alone(data, stated_size=None):
    """An LZMA-alone stream; the encoder writes the size as all ones, so the
    real size (or the one given) is patched into header bytes 5 to 12."""
    stream = bytearray(lzma.compress(data, format=lzma.FORMAT_ALONE))
    if stated_size is not False:
        size = len(data) if stated_size is None else stated_size
        stream[5:13] = struct.pack("<Q", size)
    return bytes(stream)


def raw(width, height, code, bytes_per_pixel, pixel_bytes=None, stated_size=None, magic=0x1000):
    if pixel_bytes is None:
        pixel_bytes = pixels(width, height, bytes_per_pixel)
    content = struct.pack("<IIII", width, height, code, bytes_per_pixel) + pixel_bytes
    return struct.pack("<I", magic) + lzma_alone(content, stated_size)


def pvr(width, height, bits, alpha, data_length, header_length=52, tag=b"PVR!"):
    # A header length past 52 is only stated, not padded out.
    header = bytearray(52)
    struct.pack_into("<IIII", header, 0, header_length, height, width, 0)
    struct.pack_into("<I", header, 24, bits)
    header[40] = 1 if alpha else 0
    header[44:48] = tag
    body = bytes((i * 13 + 5) % 256 for i in range(data_length))
    return bytes(header[:max(min(header_length, 52), 48)]) + body


RAW_CODES = {
    "rgba": (0x2420FD, 4),
    "rgba_b": (0x26200A, 4),
    "rgb": (0x18FC, 3),
    "bgr": (0x21808, 3),
    "luminance_alpha": (0x410FE, 2),
    "alpha": (0x8FF, 1),
}


def files():
    out = {}
    out["rgba_3x2.png"] = png(3, 2, 6, 4)
    out["rgb_5x4.png"] = png(5, 4, 2, 3)
    for name, (code, bpp) in RAW_CODES.items():
        out["raw_%s_3x2.raw" % name] = raw(3, 2, code, bpp)
    # Larger RGBA and alpha images for the pixel tests.
    out["raw_rgb_8x8.raw"] = raw(8, 8, 0x18FC, 3)
    # A stated dictionary of 4 GiB: the reader needs no more than the image.
    big_dictionary = bytearray(raw(3, 2, 0x2420FD, 4))
    struct.pack_into("<I", big_dictionary, 4 + 1, 0xFFFFFFFF)
    out["raw_dictionary_huge.raw"] = bytes(big_dictionary)
    out["pvr32_4x2.pvr"] = pvr(4, 2, 32, True, 32)
    out["pvrtc2_alpha_4x4.pvr"] = pvr(4, 4, 2, True, 32)
    out["pvrtc4_8x8.pvr"] = pvr(8, 8, 4, False, 32)

    # Damaged and hostile files.
    whole = raw(3, 2, 0x2420FD, 4)
    out["three_bytes.bin"] = b"\x00\x10\x00"
    out["text.txt"] = b"hello text"
    out["empty.bin"] = b""
    out["raw_one_byte_short.raw"] = raw(3, 2, 0x2420FD, 4, pixel_bytes=pixels(3, 2, 4)[:-1])
    out["raw_truncated.raw"] = whole[:len(whole) - 6]
    out["raw_header_only.raw"] = whole[:4 + 13]
    out["raw_unknown_code.raw"] = raw(3, 2, 0x123456, 4)
    out["raw_bpp_mismatch.raw"] = raw(3, 2, 0x18FC, 4, pixel_bytes=pixels(3, 2, 4))
    out["raw_size_unstated.raw"] = raw(3, 2, 0x2420FD, 4, stated_size=False)
    out["raw_size_huge.raw"] = raw(3, 2, 0x2420FD, 4, stated_size=1 << 40)
    out["raw_dims_huge.raw"] = raw(65536, 65536, 0x2420FD, 4, pixel_bytes=b"\x01" * 64)
    out["raw_zero_width.raw"] = raw(0, 2, 0x2420FD, 4, pixel_bytes=b"")
    out["raw_short_stream.raw"] = struct.pack("<I", 0x1000) + b"\x5d\x00\x00"
    out["pvr_short_header.pvr"] = pvr(4, 2, 32, True, 64, header_length=40)
    out["pvr_truncated.pvr"] = pvr(4, 4, 32, True, 63)
    out["pvr_huge.pvr"] = pvr(65535, 65535, 32, True, 32)
    out["pvr_header_past_end.pvr"] = pvr(4, 2, 32, True, 32, header_length=0x7FFFFFF0)
    good_png = png(3, 2, 6, 4)
    out["png_truncated.png"] = good_png[:len(good_png) // 2]
    bad_crc = bytearray(good_png)
    bad_crc[30] ^= 0xFF
    out["png_bad_crc.png"] = bytes(bad_crc)
    huge = bytearray(png(1, 1, 6, 4))
    struct.pack_into(">II", huge, 16, 100000, 100000)
    struct.pack_into(">I", huge, 29, zlib.crc32(bytes(huge[12:29])) & 0xFFFFFFFF)
    out["png_dims_huge.png"] = bytes(huge)
    return out


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_texture_files.py FOLDER\n")
        return 2
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, data in files().items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
