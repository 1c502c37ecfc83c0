"""A running engine and a fake correction provider, both on loopback."""

import http.client
import io
import json
import threading
import unittest
import wave
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from unittest import mock

from quenda_engine.server import EngineServer, Handler


def wav_bytes(seconds=0.2, rate=16000, channels=1, width=2):
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(channels), w.setsampwidth(width), w.setframerate(rate)
        w.writeframes(b"\0" * int(seconds * rate) * channels * width)
    return out.getvalue()


class StubRecogniser:
    ready, error = True, None
    start_loading = wait_loaded = lambda *args: None
    transcribe = lambda self, pcm: f"{len(pcm)} bytes heard"


def request(port, method, path, body=None):
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    try:
        conn.request(method, path, json.dumps(body).encode() if isinstance(body, dict) else body)
        reply = conn.getresponse()
        return reply.status, json.loads(reply.read())
    finally:
        conn.close()


def serve(server):
    server.thread = threading.Thread(target=server.serve_forever, args=(0.05,), daemon=True)
    server.thread.start()
    return server


class EngineCase(unittest.TestCase):
    recogniser = StubRecogniser

    def setUp(self):
        quiet = mock.patch.object(Handler, "log_message")
        quiet.start()
        self.addCleanup(quiet.stop)
        self.server = serve(EngineServer(0, self.recogniser()))
        self.addCleanup(self.server.server_close)
        self.addCleanup(self.server.shutdown)

    def call(self, method, path, body=None):
        return request(self.server.server_address[1], method, path, body)

    def assertFails(self, status, reply, fragment=""):
        self.assertEqual(status, reply[0], reply[1])
        self.assertIn(fragment, reply[1]["error"])


class FakeProvider(BaseHTTPRequestHandler):
    """Answers by the first path segment: /ok/... answers, /fail/... gives 500,
    /denied/... gives 401. Requests are kept in the server's `seen`."""

    @classmethod
    def start(cls, models):
        server = serve(ThreadingHTTPServer(("127.0.0.1", 0), cls))
        server.seen, server.models = [], models
        return server

    def log_message(self, *args):
        pass

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = json.loads(self.rfile.read(length)) if length else None
        self.server.seen.append((self.path, self.headers, body))
        mode = self.path.split("/")[1]
        if mode != "ok":
            self.send(401 if mode == "denied" else 500, {"error": {"message": mode + " by fake"}})
        elif self.path.endswith("/models"):
            self.send(200, {"data": [{"id": m} for m in self.server.models]})
        elif self.path.endswith("/messages"):
            self.send(200, {"content": [{"type": "text", "text": " claude says hi "}]})
        else:
            self.send(200, {"choices": [{"message": {"content": "fixed by " + body["model"]}}]})

    do_GET = do_POST

    def send(self, status, body):
        data = json.dumps(body).encode()
        self.send_response(status)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)
