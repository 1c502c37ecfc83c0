import contextlib
import importlib.util
import io
import json
import os
import shutil
import socket
import struct
import subprocess
import tempfile
import threading
import time
import unittest
import unittest.mock

from quenda_engine.recogniser import MODEL_DIR, Recogniser
from quenda_engine.server import EngineServer

from .helpers import ACCESS, EngineCase, let_go, wav_bytes


def broken(*args):
    raise RuntimeError("broken on purpose")


class ProtocolTest(EngineCase):
    def test_health_answers_while_loading_and_names_a_missing_model(self):
        loaded = threading.Event()
        rec = self.server.recogniser = Recogniser()
        rec._make_decoder = lambda: loaded.wait(10) and object()
        rec.start_loading()
        self.assertEqual((200, {"ready": False, "model": "pocketsphinx en-us", "polish": True}),
                         self.call("GET", "/health"))
        loaded.set(), rec.wait_loaded(5)
        self.assertTrue(self.call("GET", "/health")[1]["ready"])
        rec = self.server.recogniser = Recogniser(model_dir="/nonexistent")
        rec.start_loading(), rec.wait_loaded(10)
        self.assertIn("pocketsphinx-en-us", self.call("GET", "/health")[1]["error"])
        self.assertFails(503, self.call("POST", "/transcribe?language=en", wav_bytes()), "en-us")

    def test_failures_are_error_bodies(self):
        for method, path, status in (("GET", "/nope", 404), ("POST", "/nope", 404),
                                     ("GET", "/polish", 405), ("POST", "/health", 405),
                                     ("DELETE", "/health", 501), ("GET", "http://[x/health", 404)):
            body = b"{}" if method == "POST" else None
            host = f"127.0.0.1:{self.server.server_address[1]}"
            self.assertFails(status, self.call(method, path, body, {"Host": host}))

    def test_oversized_or_badly_sized_bodies(self):
        self.server.max_wav_bytes = self.server.max_json_bytes = 1000
        self.assertFails(413, self.call("POST", "/transcribe?language=en", wav_bytes(1)))
        self.assertFails(413, self.call("POST", "/polish", b" " * 20_000_000))
        for length in ("-5", "\u00b2", "1e3"):
            self.assertFails(400, self.call("POST", "/transcribe", b"", {"Content-Length": length}))

    def test_transcribe_languages(self):
        # sox or espeak-ng writing into a pipe leave a placeholder for the data size.
        streamed = wav_bytes()[:40] + struct.pack("<I", 0x7FFFF000) + wav_bytes()[44:]
        for code, wav in (("", wav_bytes()), ("auto", wav_bytes()), ("en", wav_bytes()),
                          ("en-US", wav_bytes()), ("EN_gb", wav_bytes()), ("en", streamed)):
            self.assertEqual((200, {"text": "6400 bytes heard.", "raw": "6400 bytes heard",
                                    "language": "en", "recogniser": "built-in"}),
                             self.call("POST", "/transcribe?language=" + code, wav))
        self.assertFails(422, self.call("POST", "/transcribe?language=de", wav_bytes()), '"de"')

    def test_the_dictionary_of_the_configuration_writes_what_was_heard(self):
        # No correction provider is involved: the transcription alone applies the dictionary.
        support = self.enterContext(tempfile.TemporaryDirectory())
        self.enterContext(unittest.mock.patch.dict(os.environ, {"QUENDA_SUPPORT": support}))
        self.server.recogniser.transcribe = lambda pcm: "run cube cuttle now"
        for case, config, written in (
                ("no configuration", None, "Run cube cuttle now."),
                ("a heard-as pair", {"dictionary": "# mine\ncube cuttle -> kubectl"}, "Run kubectl now."),
                ("a file the app would not read", {"dictionary": 5}, "Run cube cuttle now.")):
            with self.subTest(case):
                path = os.path.join(support, "config.json")
                if config is None:
                    with contextlib.suppress(FileNotFoundError):
                        os.remove(path)
                else:
                    with open(path, "w") as f:
                        json.dump(config, f)
                self.assertEqual((200, {"text": written, "raw": "run cube cuttle now",
                                        "language": "en", "recogniser": "built-in"}),
                                 self.call("POST", "/transcribe?language=en", wav_bytes()))

    def test_malformed_or_foreign_audio(self):
        lying_chunk = wav_bytes()[:16] + struct.pack("<I", 0x7FFFFFF0) + wav_bytes()[20:]
        for wav, fragment in ((b"RIFF....WAVEjunk", ""), (b"", ""), (lying_chunk, "WAV"),
                              (wav_bytes(width=1), "16-bit"), (wav_bytes(channels=2), "mono"),
                              (wav_bytes(rate=8000), "16000"), (wav_bytes()[:44], "0 of its 6400"),
                              (wav_bytes()[:-1], "6399 of its 6400")):
            self.assertFails(400, self.call("POST", "/transcribe?language=en", wav), fragment)

    def test_malformed_and_mistyped_json(self):
        for body in (b"{", b"[]", b"\xff\xfe", b"[" * 100_000, {"style": "auto"}, {"raw": 5},
                     {"raw": "x", "noteAnswer": "yes"},
                     {"raw": "x", "endpoints": [{"model": "m"}]}):
            self.assertFails(400, self.call("POST", "/polish", body))
        for body, fragment in (({"apiKey": "k"}, "baseURL"),
                               ({"apiKey": "", "baseURL": "ftp://x"}, "ftp://x"),
                               ({"apiKey": "", "baseURL": "http://[::1"}, "http://[::1")):
            self.assertFails(400, self.call("POST", "/correction-model", body), fragment)

    def test_serves_loopback_only(self):
        port = self.server.server_address[1]
        self.assertEqual("127.0.0.1", self.server.server_address[0])
        # A wildcard bind would also answer on 127.0.0.2 (and on every network).
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.2", port), timeout=5).close()

    def test_internal_faults_are_error_bodies_not_answers(self):
        server = self.server
        for case, fault, method, path, body in (
                ("health", (server, "health", broken), "GET", "/health", None),
                ("recogniser", (server.recogniser, "transcribe", broken), "POST",
                 "/transcribe?language=en", wav_bytes()),
                ("polisher", (server.polisher, "polish", broken), "POST", "/polish", {"raw": "x"}),
                ("a reply JSON cannot hold", (server.recogniser, "transcribe", lambda pcm: b"x"),
                 "POST", "/transcribe?language=en", wav_bytes())):
            with self.subTest(case), contextlib.redirect_stderr(io.StringIO()):
                with unittest.mock.patch.object(*fault):
                    self.assertFails(500, self.call(method, path, body), "Engine failure")

    def test_connections_past_the_cap_are_refused_at_once(self):
        port = self.server.server_address[1]
        # Connected but silent, each holds a thread; the kernel queues them in order.
        idle = [socket.create_connection(("127.0.0.1", port), timeout=30)
                for _ in range(self.server.max_connections)]
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=30) as extra:
                reply = b"".join(iter(lambda: extra.recv(65536), b""))
            head, _, body = reply.partition(b"\r\n\r\n")
            self.assertTrue(head.startswith(b"HTTP/1.0 503 "), reply)
            self.assertIn("busy", json.loads(body)["error"])
        finally:
            for s in idle:
                s.close()
        # Each closed connection gives its thread back.
        deadline = time.monotonic() + 10
        while self.call("GET", "/health")[0] == 503:
            if time.monotonic() > deadline:
                self.fail("the threads were never given back")

    def test_a_request_trickling_in_is_dropped_at_the_deadline(self):
        self.server.request_deadline = 0.5
        port = self.server.server_address[1]
        for case, start in (
                ("headers", b"GET /health HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nX-Slow: " % port),
                ("body", b"POST /transcribe HTTP/1.1\r\nHost: 127.0.0.1:%d\r\n"
                         b"Content-Type: application/octet-stream\r\nContent-Length: 100000\r\n\r\n"
                         % port)):
            with self.subTest(case), socket.create_connection(("127.0.0.1", port)) as s:
                s.sendall(start)
                self.assertTrue(let_go(s, lambda: s.sendall(b"x")),
                                "the engine kept reading for 10 s")

    @unittest.skipUnless(importlib.util.find_spec("pocketsphinx") and os.path.isdir(MODEL_DIR)
                         and shutil.which("espeak-ng") and shutil.which("sox"),
                         "needs python3-pocketsphinx, pocketsphinx-en-us, espeak-ng and sox")
    def test_real_transcription_of_synthetic_speech(self):
        self.server.recogniser = Recogniser()
        # Piped, sox writes the streaming header whose sizes are placeholders.
        wav = subprocess.run("espeak-ng --stdout 'hello world' | sox -q -t wav - -r 16000 -c 1 "
                             "-b 16 -t wav -", shell=True, capture_output=True, check=True).stdout
        status, body = self.call("POST", "/transcribe?language=auto", wav)
        self.assertEqual(200, status, body)
        self.assertTrue(body["text"].strip())


class ConnectionTest(EngineCase):
    """What the engine does with clients that misbehave on the wire."""

    def open(self, head, body=b"", token=True):
        s = socket.create_connection(("127.0.0.1", self.server.server_address[1]), timeout=10)
        self.addCleanup(s.close)
        port = self.server.server_address[1]
        s.sendall(head % {b"own": b"Host: 127.0.0.1:%d\r\nQuenda-Token: %s" % (
            port, ACCESS.token if token else b"x")} + body)
        return s

    @staticmethod
    def replies(s):
        """Everything the engine sends until it closes; a time-out means it kept the connection."""
        return b"".join(iter(lambda: s.recv(65536), b""))

    def test_a_refused_client_that_never_sends_its_body_gives_its_thread_back(self):
        # Sixteen of them would otherwise hold every thread until the time-out.
        for case, leaves, status, head in (
                ("leaves", True, b" 403 ", b"Origin: http://page.example\r\n"),
                ("stays connected", False, b" 403 ", b"Origin: http://page.example\r\n"),
                ("stays after a refused type", False, b" 415 ", b"Content-Type: text/plain\r\n")):
            with self.subTest(case):
                clients = [self.open(b"POST /polish HTTP/1.1\r\n%(own)s\r\n" + head +
                                     b"Content-Length: 100000\r\n\r\n")
                           for _ in range(self.server.max_connections)]
                for s in clients:
                    if leaves:
                        s.shutdown(socket.SHUT_WR)
                    self.assertIn(status, self.replies(s))
                deadline = time.monotonic() + 10
                while self.call("GET", "/health")[0] == 503:
                    if time.monotonic() > deadline:
                        self.fail("the refused clients' threads were never given back")
                for s in clients:
                    s.close()

    def test_every_error_reply_ends_the_connection(self):
        for case, request in (
                ("no such endpoint", b"GET /nope HTTP/1.1\r\n%(own)s\r\n\r\n"),
                ("a body read and refused", b"POST /polish HTTP/1.1\r\n%(own)s\r\n"
                 b"Content-Type: application/json\r\nContent-Length: 1\r\n\r\n{"),
                ("a body refused unread", b"POST /polish HTTP/1.1\r\n%(own)s\r\n"
                 b"Content-Type: text/plain\r\nContent-Length: 1\r\n\r\n{"),
                ("a refused token", b"GET /health HTTP/1.1\r\n%(own)s\r\n\r\n")):
            with self.subTest(case):
                # Asked to keep the connection, with the next request already sent behind.
                head = request.replace(b"\r\n\r\n", b"\r\nConnection: keep-alive\r\n\r\n", 1)
                s = self.open(head + b"GET /health HTTP/1.1\r\n%(own)s\r\n\r\n" % {
                    b"own": b"Host: 127.0.0.1:%d" % self.server.server_address[1]},
                    token=case != "a refused token")
                reply = self.replies(s)
                self.assertEqual(1, reply.count(b"HTTP/1."), reply)
                self.assertNotIn(b" 200 ", reply)

    def test_a_body_shorter_than_its_length_is_refused(self):
        s = self.open(b"POST /polish HTTP/1.1\r\n%(own)s\r\nContent-Type: application/json\r\n"
                      b"Content-Length: 100\r\n\r\n", json.dumps({"raw": "x"}).encode())
        s.shutdown(socket.SHUT_WR)
        reply = self.replies(s)
        self.assertIn(b" 400 ", reply)
        self.assertIn(b"ended early", reply)

    def test_the_drain_of_a_refused_body_stops_at_its_cap(self):
        # A client that sends a huge body after a refusal must not keep a thread reading it.
        self.enterContext(unittest.mock.patch("quenda_engine.server.DRAIN_CAP", 1000))
        s = self.open(b"POST /polish HTTP/1.1\r\n%(own)s\r\nContent-Type: text/plain\r\n"
                      b"Content-Length: 1000000000\r\n\r\n")
        sent = 0
        with self.assertRaises(OSError):
            while sent < 256 * 1024 * 1024:
                sent += s.send(b"\0" * 65536)

    def test_a_busy_reply_reaches_a_client_that_sent_its_request(self):
        # Closed with the request unread, the connection would be reset and the reply lost.
        with socket.create_server(("127.0.0.1", 0)) as listener:
            client = socket.create_connection(listener.getsockname(), timeout=10)
            self.addCleanup(client.close)
            client.sendall(b"POST /polish HTTP/1.1\r\nContent-Length: 20000\r\n\r\n" + b" " * 20000)
            refused, _ = listener.accept()
            EngineServer._refuse_busy(refused)
            refused.close()
            self.assertIn(b" 503 ", self.replies(client))
