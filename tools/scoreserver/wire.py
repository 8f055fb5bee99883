"""The score server's side of the leaderboard wire format.

Written on its own, without looking at the game's C++ code, so that the two
check each other: bit fields most significant bit first without alignment,
XXTEA (corrected block TEA) over little-endian 32-bit words, the key being the
MD5 digest of the base URL, base64 in the query.
"""

import base64
import hashlib
import random
import struct

MASK32 = 0xFFFFFFFF
DELTA = 0x9E3779B9

REQUEST_MAGIC = 0x3333CCCC
REPLY_MAGIC = 0xCCCC3333


class WireError(Exception):
    """A request that cannot be read."""


def key_for_url(base_url):
    """The four key words: MD5 digest bytes 4i..4i+3 as little-endian word i."""
    digest = hashlib.md5(base_url.encode("latin-1")).digest()
    return list(struct.unpack("<4I", digest))


def _mx(total, y, z, p, e, key):
    left = (((z >> 5) ^ ((y << 2) & MASK32)) + ((y >> 3) ^ ((z << 4) & MASK32))) & MASK32
    right = ((total ^ y) + (key[(p & 3) ^ e] ^ z)) & MASK32
    return left ^ right


def xxtea_encrypt(data, key):
    """Enciphers bytes whose length is a multiple of 4 (at least 8)."""
    if len(data) % 4 or len(data) < 8:
        raise WireError("XXTEA needs whole words, two at least")
    v = list(struct.unpack("<%dI" % (len(data) // 4), data))
    n = len(v)
    rounds = 6 + 52 // n
    total = 0
    z = v[n - 1]
    for _ in range(rounds):
        total = (total + DELTA) & MASK32
        e = (total >> 2) & 3
        for p in range(n):
            y = v[(p + 1) % n]
            v[p] = (v[p] + _mx(total, y, z, p, e, key)) & MASK32
            z = v[p]
    return struct.pack("<%dI" % n, *v)


def xxtea_decrypt(data, key):
    if len(data) % 4 or len(data) < 8:
        raise WireError("XXTEA needs whole words, two at least")
    v = list(struct.unpack("<%dI" % (len(data) // 4), data))
    n = len(v)
    rounds = 6 + 52 // n
    total = (rounds * DELTA) & MASK32
    y = v[0]
    for _ in range(rounds):
        e = (total >> 2) & 3
        for p in range(n - 1, -1, -1):
            z = v[p - 1] if p > 0 else v[n - 1]
            v[p] = (v[p] - _mx(total, y, z, p, e, key)) & MASK32
            y = v[p]
        total = (total - DELTA) & MASK32
    return struct.pack("<%dI" % n, *v)


def bit_length_of(value):
    """Width of a string's length field: bits of the maximum, 1 for 0."""
    return max(1, int(value).bit_length())


class BitWriter:
    def __init__(self):
        self.value = 0
        self.bits = 0

    def write(self, value, width):
        if width <= 0:
            return
        self.value = (self.value << width) | (int(value) & ((1 << width) - 1))
        self.bits += width

    def write_string(self, text, max_length):
        if max_length <= 0:
            return
        raw = text.encode("latin-1", "replace")[:max_length]
        self.write(len(raw), bit_length_of(max_length))
        for byte in raw:
            self.write(byte, 8)

    def pad(self, rng=random):
        """Random bits up to the next 32-bit boundary; a whole word when on one."""
        self.write(rng.getrandbits(32), 32 - self.bits % 32)

    def to_bytes(self):
        whole = self.bits + (-self.bits % 8)
        return (self.value << (whole - self.bits)).to_bytes(whole // 8, "big")


class BitReader:
    def __init__(self, data):
        self.value = int.from_bytes(data, "big")
        self.bits = len(data) * 8
        self.position = 0

    def remaining(self):
        return self.bits - self.position

    def read(self, width):
        if width > self.remaining():
            raise WireError("read past the end")
        shift = self.bits - self.position - width
        self.position += width
        return (self.value >> shift) & ((1 << width) - 1)

    def read_signed(self, width):
        value = self.read(width)
        return value - (1 << width) if value >> (width - 1) else value

    def read_string(self, max_length):
        if max_length <= 0:
            return ""
        count = self.read(bit_length_of(max_length))
        if count > max_length:
            raise WireError("string longer than its maximum")
        return bytes(self.read(8) for _ in range(count)).decode("latin-1")


# Schema words: the writer and reader of each, for the words the boards use.
def write_field(writer, word, value):
    if word == "int16" or word == "uint16":
        writer.write(value, 16)
    elif word in ("int32", "uint32"):
        writer.write(value, 32)
    elif word in ("int64", "uint64"):
        writer.write(value, 64)
    elif word == "datetime":
        writer.write(int(value // 1), 64)
    elif word == "byte":
        writer.write(value, 8)
    elif word == "bool":
        writer.write(1 if value else 0, 1)
    elif word == "uint256":
        writer.write(value, 256)
    elif word.startswith("string"):
        writer.write_string(value, _argument(word, 256))
    elif word.startswith("skip:"):
        pass
    else:
        raise WireError("unknown schema word %r" % word)


def read_field(reader, word):
    if word == "int16":
        return reader.read_signed(16)
    if word == "uint16":
        return reader.read(16)
    if word == "int32":
        return reader.read_signed(32)
    if word == "uint32":
        return reader.read(32)
    if word == "int64":
        return reader.read_signed(64)
    if word == "uint64":
        return reader.read(64)
    if word == "datetime":
        return float(reader.read_signed(64))
    if word == "byte":
        return reader.read(8)
    if word == "bool":
        return bool(reader.read(1))
    if word == "uint256":
        return reader.read(256)
    if word.startswith("string"):
        return reader.read_string(_argument(word, 256))
    if word.startswith("skip:"):
        return None
    raise WireError("unknown schema word %r" % word)


def _argument(word, default):
    if ":" not in word:
        return default
    try:
        return int(word.split(":", 1)[1])
    except ValueError:
        return 0


def write_record(writer, schema, values):
    words = schema.split()
    values = list(values)
    for word in words:
        if word.startswith("skip:"):
            continue
        write_field(writer, word, values.pop(0))


def read_record(reader, schema):
    return [read_field(reader, word) for word in schema.split() if not word.startswith("skip:")]


class Request:
    def __init__(self, operation, game_key, board, reader):
        self.operation = operation
        self.game_key = game_key
        self.board = board
        self.reader = reader


def decode_request(query_text, key):
    """The base64 text of the q parameter, deciphered and read up to the values."""
    try:
        raw = base64.b64decode(query_text.encode("ascii"), validate=True)
    except (ValueError, UnicodeEncodeError) as error:
        raise WireError("not base64: %s" % error)
    plain = xxtea_decrypt(raw, key)
    reader = BitReader(plain)
    if reader.read(32) != REQUEST_MAGIC:
        raise WireError("wrong request magic")
    operation = reader.read(16)
    game_key = reader.read_string(64)
    board = reader.read_signed(32)
    return Request(operation, game_key, board, reader)


def encode_reply(status, rows, row_schema, key, length_delta=0, magic=REPLY_MAGIC, count=None, rng=random):
    """The enciphered reply body. The length field counts the padded bytes."""
    writer = BitWriter()
    for row in rows:
        write_record(writer, row_schema, row)
    writer.pad(rng)
    row_bytes = writer.to_bytes()
    body_length = 16 + len(row_bytes)
    head = struct.pack(
        ">IiiI",
        magic & MASK32,
        body_length + length_delta,
        status if status < 0x80000000 else status - (1 << 32),
        (len(rows) if count is None else count) & MASK32,
    )
    return xxtea_encrypt(head + row_bytes, key)


def encode_request(operation, game_key, board, schema, values, key, rng=random):
    """A client's request, for the server's own tests."""
    writer = BitWriter()
    writer.write(REQUEST_MAGIC, 32)
    writer.write(operation, 16)
    writer.write_string(game_key, 64)
    writer.write(board, 32)
    write_record(writer, schema, values)
    writer.pad(rng)
    return base64.b64encode(xxtea_encrypt(writer.to_bytes(), key)).decode("ascii")


def decode_reply(body, key, row_schema):
    """(status, rows) of a reply body, for the server's own tests."""
    plain = xxtea_decrypt(body, key)
    reader = BitReader(plain)
    if reader.read(32) != REPLY_MAGIC:
        raise WireError("wrong reply magic")
    length = reader.read_signed(32)
    if length > len(body):
        raise WireError("length past the body")
    status = reader.read_signed(32) & MASK32
    count = reader.read_signed(32)
    rows = []
    if status == 1:
        for _ in range(count):
            rows.append(read_record(reader, row_schema))
    return status, rows
