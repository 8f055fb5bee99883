"""The score server on its own: its wire format against the fixed vectors
the C++ client is tested with, its boards' sort and row rules, its control
switches and misbehaviours."""

import os
import random
import signal
import subprocess
import sys
import unittest
import urllib.error
import urllib.request

SERVER_DIR = os.environ.get(
    "COBALT_SCORE_SERVER_DIR",
    os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "scoreserver"))
sys.dont_write_bytecode = True
sys.path.insert(0, SERVER_DIR)
import wire  # noqa: E402

SUBMIT_SCHEMA = "uint256 int16 int16 string:3 int64 int64 int32 byte int32 int32"
ROW_SCHEMA = "int64 datetime string:3 int32 int32 int32 byte skip:7"
INT64_MAX = (1 << 63) - 1


class WireVectors(unittest.TestCase):
    def test_top_list_query_bytes(self):
        writer = wire.BitWriter()
        writer.write(wire.REQUEST_MAGIC, 32)
        writer.write(1, 16)
        writer.write_string("abc", 64)
        writer.write(10003, 32)
        wire.write_record(writer, "int16", [3000])
        self.assertEqual(127, writer.bits)
        writer.write(0, 1)
        self.assertEqual("3333cccc000106c2c4c600004e261770", writer.to_bytes().hex())

    def test_key_ciphertext_and_base64(self):
        key = wire.key_for_url("http://127.0.0.1:12000/")
        self.assertEqual("48d90b3efb173abb8e54cb221d2c837b", bytes.fromhex(
            "".join("%02x" % b for w in key for b in w.to_bytes(4, "little"))).hex())
        cipher = wire.xxtea_encrypt(bytes.fromhex("3333cccc000106c2c4c600004e261770"), key)
        self.assertEqual("d38ed4ba0c0eacfff8162deb583981bd", cipher.hex())
        self.assertEqual(bytes.fromhex("3333cccc000106c2c4c600004e261770"), wire.xxtea_decrypt(cipher, key))

    def test_padding_is_a_whole_word_on_a_boundary(self):
        writer = wire.BitWriter()
        writer.write(5, 32)
        writer.pad(random.Random(1))
        self.assertEqual(64, writer.bits)
        writer.write(1, 1)
        writer.pad(random.Random(1))
        self.assertEqual(96, writer.bits)

    def test_skip_puts_no_bits_on_the_wire(self):
        writer = wire.BitWriter()
        wire.write_record(writer, "byte skip:7 byte", [1, 2])
        self.assertEqual(16, writer.bits)

    def test_reply_round_trip(self):
        key = wire.key_for_url("http://h:1/")
        rows = [[900, 1700000000.0, "ABC", 1, 2, 3, 4], [800, 1700000001.0, "", 5, 6, 7, 8]]
        status, back = wire.decode_reply(wire.encode_reply(1, rows, ROW_SCHEMA, key), key, ROW_SCHEMA)
        self.assertEqual(1, status)
        self.assertEqual(rows, back)
        with self.assertRaises(wire.WireError):
            wire.decode_reply(wire.encode_reply(1, [], ROW_SCHEMA, key, length_delta=1), key, ROW_SCHEMA)


class Server:
    def __init__(self, *arguments):
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(SERVER_DIR, "scoreserver.py"), "--port", "0", "--control"] + list(arguments),
            stdout=subprocess.PIPE)
        words = self.process.stdout.readline().decode().split()
        self.port, self.pid = int(words[1]), int(words[3])
        self.base = "http://127.0.0.1:%d/" % self.port
        self.key = wire.key_for_url(self.base)

    def stop(self):
        os.kill(self.pid, signal.SIGTERM)
        self.process.wait(timeout=10)
        self.process.stdout.close()

    def get(self, query):
        with urllib.request.urlopen(self.base + "?" + query, timeout=10) as reply:
            return reply.read()

    def ask(self, operation, board, schema, values, game_key="test", row_schema=ROW_SCHEMA):
        body = self.get("q=" + wire.encode_request(operation, game_key, board, schema, values, self.key))
        return wire.decode_reply(body, self.key, row_schema)

    def submit(self, board, device, name, score, mode=3000, platform=2, inverse=None):
        inverse = INT64_MAX - score if inverse is None else inverse
        return self.ask(2, board, SUBMIT_SCHEMA, [device, platform, mode, name, inverse, score, 9, 1, 60, score // 10])

    def top(self, mode=3000, **options):
        return self.ask(1, 10003, "int16", [mode], **options)

    def own(self, device, mode=3000, platform=2):
        return self.ask(1, 11000, "uint256 int16 int16", [device, platform, mode])


class Boards(unittest.TestCase):
    def setUp(self):
        self.server = Server()

    def tearDown(self):
        self.server.stop()

    def test_top_list_keeps_each_devices_best_best_first(self):
        s = self.server
        self.assertEqual((1, []), s.submit(10001, 1, "AAA", 100))
        self.assertEqual((1, []), s.submit(10002, 1, "AAA", 300))
        self.assertEqual((1, []), s.submit(10001, 2, "BBB", 200))
        self.assertEqual((1, []), s.submit(10001, 3, "CCC", 300))  # ties go to the earlier entry
        self.assertEqual((1, []), s.submit(10001, 4, "DDD", 50, mode=1005))
        status, rows = s.top()
        self.assertEqual(1, status)
        self.assertEqual([("AAA", 300), ("CCC", 300), ("BBB", 200)], [(r[2], r[0]) for r in rows])
        self.assertEqual(30, rows[0][3])  # kills: a tenth of the score here
        self.assertEqual([("DDD", 50)], [(r[2], r[0]) for r in s.top(mode=1005)[1]])
        self.assertEqual((1, []), s.top(game_key="other"))

    def test_own_scores_of_one_device(self):
        s = self.server
        for score in (10, 30, 20):
            s.submit(10001, 7, "ME", score)
        s.submit(10001, 8, "YOU", 99)
        status, rows = s.own(7)
        self.assertEqual(1, status)
        self.assertEqual([30, 20, 10], [r[0] for r in rows])
        self.assertEqual((1, []), s.own(7, platform=3))

    def test_top_list_is_at_most_100(self):
        for device in range(105):
            self.server.submit(10001, device + 1, "N", device)
        status, rows = self.server.top()
        self.assertEqual(100, len(rows))
        self.assertEqual(104, rows[0][0])

    def test_bad_requests(self):
        s = self.server
        self.assertEqual(0xF400, s.submit(10001, 1, "AAA", 100, inverse=5)[0])  # checksum wrong
        self.assertEqual(0xF403, s.ask(1, 12345, "int16", [1])[0])
        # Not base64, not a whole number of words.
        self.assertEqual(0xF400, wire.decode_reply(s.get("q=%%%"), s.key, ROW_SCHEMA)[0])
        self.assertEqual(0xF400, wire.decode_reply(s.get("q=AAAA"), s.key, ROW_SCHEMA)[0])

    def test_refuse_counts_down_first_board_submissions(self):
        s = self.server
        self.assertEqual(b"mode refuse\n", s.get("misbehave=refuse&count=2"))
        self.assertEqual(1, s.top()[0])  # queries do not count
        self.assertEqual(0xF402, s.submit(10001, 1, "A", 1)[0])
        self.assertEqual(1, s.submit(10002, 1, "A", 1)[0])
        self.assertEqual(0xF402, s.submit(10001, 1, "A", 1)[0])
        self.assertEqual(1, s.submit(10001, 1, "A", 1)[0])
        history = s.get("history").decode().splitlines()
        self.assertEqual(5, len(history))
        self.assertIn("status=0xF402", history[1])

    def test_misbehaviours(self):
        s = self.server
        expectations = {
            "refuse-all": lambda: self.assertEqual((0xF402, []), s.top()),
            "bad-magic": lambda: self.assertRaises(wire.WireError, s.top),
            "long-length": lambda: self.assertRaises(wire.WireError, s.top),
            "status-77": lambda: self.assertEqual(77, s.top()[0]),
            "odd-body": lambda: self.assertEqual(6, len(s.get("q=" + wire.encode_request(
                1, "t", 10003, "int16", [1], s.key)))),
            "http-503": lambda: self.assertRaises(urllib.error.HTTPError, s.top),
        }
        for mode, check in expectations.items():
            s.get("misbehave=%s&count=1" % mode)
            check()
        self.assertEqual(1, s.top()[0])
        with self.assertRaises(urllib.error.HTTPError):
            s.get("misbehave=no-such-mode")


if __name__ == "__main__":
    unittest.main()
