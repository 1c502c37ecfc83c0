"""A running engine and a fake correction provider, both on loopback."""

import contextlib
import http.client
import io
import json
import threading
import time
import unittest
import wave
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from unittest import mock

from quenda_engine.access import TOKEN_HEADER, Access
from quenda_engine.server import EngineServer, Handler

SECRET = b"5ec7e7" * 11
ACCESS = Access(SECRET)


def wav_bytes(seconds=0.2, rate=16000, channels=1, width=2):
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(channels), w.setsampwidth(width), w.setframerate(rate)
        w.writeframes(b"\0" * int(seconds * rate) * channels * width)
    return out.getvalue()


JSON, AUDIO = "application/json", "application/octet-stream"


def let_go(s, send, seconds=10):
    """Whether the engine ends the connection `s`, with a reply or the close, within `seconds`
    while `send` writes to it far more often than the engine's socket time-out."""
    s.settimeout(0.05)
    began = time.monotonic()
    while time.monotonic() - began < seconds:
        try:
            send()
            s.recv(65536)
            return True
        except TimeoutError:
            continue
        except (BrokenPipeError, ConnectionResetError):
            return True
    return False


def request(port, method, path, body=None, headers=None):
    """As the app sends it: Host 127.0.0.1 with the port, the token of SECRET, and a body with its
    type."""
    kind = {TOKEN_HEADER: ACCESS.token.decode()} if body is None else \
        {TOKEN_HEADER: ACCESS.token.decode(),
         "Content-Type": AUDIO if path.startswith("/transcribe") else JSON}
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    try:
        conn.request(method, path, json.dumps(body).encode() if isinstance(body, dict) else body,
                     kind | (headers or {}))
        reply = conn.getresponse()
        return reply.status, json.loads(reply.read())
    finally:
        conn.close()


def serve(test, server):
    server.thread = threading.Thread(target=server.serve_forever, args=(0.05,), daemon=True)
    server.thread.start()
    test.addCleanup(server.server_close)
    test.addCleanup(server.shutdown)
    return server


class StubRecogniser:
    ready, error = True, None
    start_loading = wait_loaded = lambda *args: None
    transcribe = lambda self, pcm: f"{len(pcm)} bytes heard"

    @contextlib.contextmanager
    def utterance(self):
        """A recording fed in pieces is heard as its whole."""
        heard = []
        yield type("StubUtterance", (), {"fed": 0, "feed": lambda u, pcm: heard.append(pcm),
                                         "finish": lambda u: self.transcribe(b"".join(heard))})()


class EngineCase(unittest.TestCase):
    def setUp(self):
        self.enterContext(mock.patch.object(Handler, "log_message"))
        self.server = serve(self, EngineServer(0, StubRecogniser(), ACCESS))

    def call(self, method, path, body=None, headers=None):
        return request(self.server.server_address[1], method, path, body, headers)

    def assertFails(self, status, reply, fragment=""):
        self.assertEqual(status, reply[0], reply[1])
        self.assertIn(fragment, reply[1]["error"])
        return reply[1]["error"]


class FakeProvider(BaseHTTPRequestHandler):
    """Answers by the first path segment: /ok/... answers; /garbage/... breaks
    HTTP, or for /messages sends a misshapen reply; /moved/... redirects; any other gives 500 and
    quotes the key it got. Requests are kept in the server's `seen`."""

    log_message = lambda *args: None

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = json.loads(self.rfile.read(length)) if length else {}
        self.server.seen.append((self.path, self.headers, body))
        mode, last = self.path.split("/")[1], self.path.rsplit("/", 1)[1]
        if mode == "garbage" and last != "messages":
            return self.wfile.write(b"nonsense\r\n\r\n")
        if mode == "moved":
            self.send_response(302)
            self.send_header("Location", "/leak/v1/" + last)
            self.send_header("Content-Length", "0")
            return self.end_headers()
        status, reply = 200, {
            "models": {"data": [{"id": m} for m in self.server.models]},
            "messages": {"content": [{"type": "text", "text": " claude says hi "}]},
            "completions": {"choices": [{"message": {"content": f"fixed by {body.get('model')}"}}]},
        }[last]
        if mode == "garbage":
            reply = {"content": 5}
        elif mode != "ok":
            key = self.headers["Authorization"]
            status, reply = 500, {"error": {"message": f"{mode} for {key}"}}
        data = json.dumps(reply).encode()
        self.send_response(status)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    do_GET = do_POST
