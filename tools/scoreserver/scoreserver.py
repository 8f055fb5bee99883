#!/usr/bin/env python3
"""A score server for Cobalt Keep's online leaderboard, for tests and for
hosting a local leaderboard.

    scoreserver.py --port 12000 --db scores.sqlite3

The game's default server is http://127.0.0.1:12000/. With --port 0 the
system picks a free port. The first line on stdout is always

    PORT <port> PID <pid>

so that a test can find the server and stop it by its own process id.

Boards: 10001 and 10002 take submissions (10002 is where entries go after
two accepted ones, or after a refusal on 10001); 10003 answers the top list
of a mode (each device's best, best first, at most 100); 11000 answers one
device's own scores for a mode (best first, at most 100). Ties go to the
earlier entry. Scores are kept per game key in SQLite.

--misbehave MODE makes the server misbehave on purpose (see MODES); with
--control, GET /?misbehave=MODE[&count=N] switches the mode at run time (for
the next N requests only, when N is given), /?history lists the requests
seen, /?dump the stored rows and /?reset forgets both.
"""

import argparse
import os
import signal
import sqlite3
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wire  # noqa: E402

SUBMIT_SCHEMA = "uint256 int16 int16 string:3 int64 int64 int32 byte int32 int32"
ROW_SCHEMA = "int64 datetime string:3 int32 int32 int32 byte skip:7"
TOP_KEY_SCHEMA = "int16"
OWN_KEY_SCHEMA = "uint256 int16 int16"

FIRST_BOARD = 10001
SECOND_BOARD = 10002
TOP_BOARD = 10003
OWN_BOARD = 11000
MAX_ROWS = 100
INT64_MAX = (1 << 63) - 1

STATUS_OK = 1
STATUS_REFUSED = 0xF402
STATUS_BAD_REQUEST = 0xF400
STATUS_UNKNOWN_BOARD = 0xF403

MODES = {
    "none": "behave",
    "refuse": "answer submissions to board 10001 with 0xF402",
    "refuse-all": "answer every request with 0xF402 and a row count of 5",
    "http-401": "HTTP 401 Unauthorized",
    "http-403": "HTTP 403 Forbidden",
    "http-404": "HTTP 404 Not Found",
    "http-500": "HTTP 500 Internal Server Error",
    "http-503": "HTTP 503 Service Unavailable",
    "http-418": "an HTTP status the client does not know",
    "bad-magic": "a reply whose magic number is wrong",
    "long-length": "a reply whose length field is one more than the body",
    "empty-body": "200 with Content-Length 0",
    "no-length": "200 without Content-Length",
    "odd-body": "a 6-byte body (not whole words)",
    "huge-count": "status 1 with a row count of 2^31-1 and no rows",
    "status-0": "status 0", "status-2": "status 2", "status-3": "status 3",
    "status-77": "status 77 (passed through by the client)",
    "close-mid-body": "announce 64 bytes, send 20, close",
    "header-never-ends": "a header without its blank line, then close",
    "hang-up": "accept and close without a word",
    "silent": "accept and never answer",
}

SCHEMA_SQL = """
CREATE TABLE IF NOT EXISTS scores (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    game_key TEXT NOT NULL,
    board INTEGER NOT NULL,
    device TEXT NOT NULL,
    platform INTEGER NOT NULL,
    mode INTEGER NOT NULL,
    name TEXT NOT NULL,
    score INTEGER NOT NULL,
    last_wave INTEGER NOT NULL,
    extra_waves INTEGER NOT NULL,
    seconds INTEGER NOT NULL,
    kills INTEGER NOT NULL,
    date INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS scores_by_mode ON scores (game_key, mode, score DESC, date);
"""


class Store:
    """The scores, under one lock (the server answers on several threads)."""

    def __init__(self, path):
        self.lock = threading.Lock()
        self.db = sqlite3.connect(path, check_same_thread=False)
        self.db.executescript(SCHEMA_SQL)
        self.db.commit()

    def add(self, game_key, board, values):
        device, platform, mode, name, inverse, score, last_wave, extra, seconds, kills = values
        if inverse != INT64_MAX - score or score < 0:
            return False
        with self.lock:
            self.db.execute(
                "INSERT INTO scores (game_key, board, device, platform, mode, name, score, last_wave,"
                " extra_waves, seconds, kills, date) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                (game_key, board, "%064x" % device, platform, mode, name, score, last_wave, extra, seconds,
                 kills, int(time.time())))
            self.db.commit()
        return True

    def top(self, game_key, mode):
        with self.lock:
            return self.db.execute(
                "SELECT score, date, name, kills, last_wave, seconds, extra_waves FROM ("
                " SELECT *, ROW_NUMBER() OVER (PARTITION BY device, platform"
                "  ORDER BY score DESC, date, id) AS place"
                " FROM scores WHERE game_key = ? AND mode = ?)"
                " WHERE place = 1 ORDER BY score DESC, date, id LIMIT ?",
                (game_key, mode, MAX_ROWS)).fetchall()

    def own(self, game_key, device, platform, mode):
        with self.lock:
            return self.db.execute(
                "SELECT score, date, name, kills, last_wave, seconds, extra_waves FROM scores"
                " WHERE game_key = ? AND device = ? AND platform = ? AND mode = ?"
                " ORDER BY score DESC, date, id LIMIT ?",
                (game_key, "%064x" % device, platform, mode, MAX_ROWS)).fetchall()

    def dump(self):
        with self.lock:
            return self.db.execute(
                "SELECT board, mode, device, platform, name, score, kills, last_wave, extra_waves, seconds,"
                " game_key FROM scores ORDER BY id").fetchall()

    def reset(self):
        with self.lock:
            self.db.execute("DELETE FROM scores")
            self.db.commit()


class Behaviour:
    """The misbehaviour in force, and what was asked of the server."""

    def __init__(self, mode):
        self.lock = threading.Lock()
        self.mode = mode
        self.remaining = None  # requests left before going back to "none"
        self.history = []

    def set(self, mode, count=None):
        with self.lock:
            self.mode = mode
            self.remaining = count

    def take(self, applies):
        """The mode for one request; counts it down when it applies."""
        with self.lock:
            mode = self.mode
            if mode != "none" and applies(mode) and self.remaining is not None:
                self.remaining -= 1
                if self.remaining <= 0:
                    self.mode, self.remaining = "none", None
            return mode

    def note(self, line):
        with self.lock:
            self.history.append(line)

    def lines(self):
        with self.lock:
            return list(self.history)

    def reset(self):
        with self.lock:
            self.history = []
            self.mode, self.remaining = "none", None


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "CobaltKeepScores/1"

    def log_message(self, format, *args):
        if self.server.verbose:
            sys.stderr.write("scoreserver: " + (format % args) + "\n")

    # Plain replies.
    def send_bytes(self, code, body, content_type="application/octet-stream", length=None):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        if length is not False:
            self.send_header("Content-Length", str(len(body) if length is None else length))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True

    def send_text(self, text):
        self.send_bytes(200, text.encode("utf-8"), "text/plain; charset=utf-8")

    def base_url(self):
        """The URL the client enciphers with: its Host header and our port."""
        if self.server.base_url:
            return self.server.base_url
        host = (self.headers.get("Host") or self.server.host).split(":")[0].strip()
        return "http://%s:%d/" % (host, self.server.port)

    def do_GET(self):
        query = urllib.parse.urlsplit(self.path).query
        params = dict(part.split("=", 1) if "=" in part else (part, "") for part in query.split("&") if part)
        if "q" not in params:
            return self.control(params)
        key = wire.key_for_url(self.base_url())
        try:
            request = wire.decode_request(params["q"], key)
        except wire.WireError as error:
            self.server.behaviour.note("bad-request %s" % error)
            return self.reply(key, STATUS_BAD_REQUEST, [])
        is_submit = request.operation == 2
        mode = self.server.behaviour.take(
            lambda m: m != "refuse" or (is_submit and request.board == FIRST_BOARD))
        if self.misbehave(mode, key, request):
            return
        status, rows = self.answer(request, mode)
        self.server.behaviour.note("op=%d board=%d key=%s status=0x%X rows=%d" % (
            request.operation, request.board, request.game_key, status, len(rows)))
        self.reply(key, status, rows)

    def answer(self, request, mode):
        store = self.server.store
        try:
            if request.operation == 2 and request.board in (FIRST_BOARD, SECOND_BOARD):
                if mode == "refuse" and request.board == FIRST_BOARD:
                    return STATUS_REFUSED, []
                values = wire.read_record(request.reader, SUBMIT_SCHEMA)
                ok = store.add(request.game_key, request.board, values)
                return (STATUS_OK if ok else STATUS_BAD_REQUEST), []
            if request.operation == 1 and request.board == TOP_BOARD:
                (mode_id,) = wire.read_record(request.reader, TOP_KEY_SCHEMA)
                return STATUS_OK, store.top(request.game_key, mode_id)
            if request.operation == 1 and request.board == OWN_BOARD:
                device, platform, mode_id = wire.read_record(request.reader, OWN_KEY_SCHEMA)
                return STATUS_OK, store.own(request.game_key, device, platform, mode_id)
        except wire.WireError:
            return STATUS_BAD_REQUEST, []
        return STATUS_UNKNOWN_BOARD, []

    def reply(self, key, status, rows, **options):
        self.send_bytes(200, wire.encode_reply(status, rows, ROW_SCHEMA, key, **options))

    def misbehave(self, mode, key, request):
        """Answers in the mode's wrong way; False when the mode needs a normal answer."""
        if mode in ("none", "refuse"):
            return False
        self.server.behaviour.note("op=%d board=%d misbehave=%s" % (request.operation, request.board, mode))
        if mode.startswith("http-"):
            code = int(mode[5:])
            self.send_bytes(code, b"nope", "text/plain")
        elif mode == "refuse-all":
            self.reply(key, STATUS_REFUSED, [], count=5)
        elif mode == "bad-magic":
            self.reply(key, STATUS_OK, [], magic=0x12345678)
        elif mode == "long-length":
            self.reply(key, STATUS_OK, [], length_delta=1)
        elif mode == "empty-body":
            self.send_bytes(200, b"")
        elif mode == "no-length":
            self.send_bytes(200, wire.encode_reply(STATUS_OK, [], ROW_SCHEMA, key), length=False)
        elif mode == "odd-body":
            self.send_bytes(200, os.urandom(6))
        elif mode == "huge-count":
            self.reply(key, STATUS_OK, [], count=0x7FFFFFFF)
        elif mode.startswith("status-"):
            self.reply(key, int(mode[7:]), [], count=3)
        elif mode == "close-mid-body":
            self.send_bytes(200, os.urandom(20), length=64)
        elif mode == "header-never-ends":
            self.wfile.write(b"HTTP/1.1 200 OK\r\nContent-Length: 16\r\nX-Waiting: ")
            self.close_connection = True
        elif mode == "hang-up":
            self.close_connection = True
        elif mode == "silent":
            self.server.stopping.wait()
            self.close_connection = True
        else:
            return False
        return True

    def control(self, params):
        if not self.server.control:
            return self.send_bytes(404, b"not here", "text/plain")
        behaviour = self.server.behaviour
        if "misbehave" in params:
            mode = params["misbehave"]
            if mode not in MODES:
                return self.send_bytes(404, ("unknown mode %s" % mode).encode(), "text/plain")
            count = params.get("count")
            behaviour.set(mode, int(count) if count else None)
            return self.send_text("mode %s\n" % mode)
        if "history" in params:
            return self.send_text("".join(line + "\n" for line in behaviour.lines()))
        if "dump" in params:
            return self.send_text("".join(" ".join(str(v) for v in row) + "\n" for row in self.server.store.dump()))
        if "reset" in params:
            behaviour.reset()
            self.server.store.reset()
            return self.send_text("reset\n")
        return self.send_bytes(404, b"unknown control", "text/plain")


class ScoreServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", default="127.0.0.1", help="address to listen on (default 127.0.0.1)")
    parser.add_argument("--port", type=int, default=12000, help="port; 0 picks a free one (default 12000)")
    parser.add_argument("--db", default=":memory:", help="SQLite file (default: in memory)")
    parser.add_argument("--base-url", default="", help="the base URL clients use, when not http://<Host>:<port>/")
    parser.add_argument("--misbehave", default="none", choices=sorted(MODES), help="misbehave on purpose")
    parser.add_argument("--control", action="store_true", help="accept control requests (tests)")
    parser.add_argument("--verbose", action="store_true", help="log every request on stderr")
    parser.add_argument("--exit-with-stdin", action="store_true",
                        help="stop when standard input closes (tests: the server dies with its test)")
    args = parser.parse_args(argv)

    server = ScoreServer((args.host, args.port), Handler)
    server.host = args.host
    server.port = server.server_address[1]
    server.base_url = args.base_url
    server.store = Store(args.db)
    server.behaviour = Behaviour(args.misbehave)
    server.control = args.control
    server.verbose = args.verbose
    server.stopping = threading.Event()

    def stop(signum, frame):
        server.stopping.set()
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    if args.exit_with_stdin:
        def watch_stdin():
            while sys.stdin.buffer.read(4096):
                pass
            stop(None, None)
        threading.Thread(target=watch_stdin, daemon=True).start()
    sys.stdout.write("PORT %d PID %d\n" % (server.port, os.getpid()))
    sys.stdout.flush()
    try:
        server.serve_forever(poll_interval=0.1)
    finally:
        server.stopping.set()
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
