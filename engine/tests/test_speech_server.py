"""/transcribe through a speech server the user named, and /speech-check."""

import email.message
import email.parser
import email.policy
import io
import json
import socket
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from unittest import mock

from quenda_engine import speech_server
from quenda_engine.server import Handler

from .helpers import ACCESS, EngineCase, serve, wav_bytes

KEY = "sk-speech-7f3a"
# Longer than any line a message was once cut to.
LONG_REASON = "The model whisper-large is not loaded; load it first." * 12

# Mode: (status, body) the fake answers with; "slow" answers never.
REPLIES = {
    "ok": (200, b'{"text": " run cube cuttle now "}'),
    "key": (401, json.dumps({"error": {"message": f"Incorrect API key provided: {KEY}"}}).encode()),
    "keyless": (401, b'{"error": {"message": "You didn\'t provide an API key."}}'),
    "forbidden": (403, b'{"detail": "Not allowed for this project"}'),
    "busy": (429, b'{"error": {"message": "Rate limit reached for requests"}}'),
    "down": (503, b"model is still loading\n"),
    "html": (502, b"<html><body>Bad Gateway</body></html>"),
    "broken": (500, b'{"error": "CUDA out of memory"}'),
    "long": (500, json.dumps({"detail": LONG_REASON}).encode()),
    "page": (200, b"\n<!DOCTYPE html>\n<html><head><title>Open WebUI</title></head></html>"),
    "garbage": (200, b"nonsense"),
    "empty": (200, b""),
    "wrong": (200, b'{"transcript": "hello"}'),
    "number": (200, b'{"text": 5}'),
    "silent": (200, b'{"text": "  "}'),
}


def strict_form(content_type, body):
    """The parts of a multipart/form-data body as {name: (content type, content)}; a ValueError
    for anything a strict server would refuse: bare LF lines, a body cut short or running on."""
    boundary = email.message.Message()
    boundary["Content-Type"] = content_type
    delimiter = b"--" + boundary.get_param("boundary").encode()
    pieces = body.split(delimiter)
    if pieces[0] != b"" or pieces[-1] != b"--\r\n":
        raise ValueError("the form does not end with its closing boundary")
    parts = {}
    for piece in pieces[1:-1]:
        head, blank, content = piece.partition(b"\r\n\r\n")
        lines = head.split(b"\r\n")
        if not (blank and lines[0] == b"" and content.endswith(b"\r\n")) or \
                any(b"\n" in line or b"\r" in line for line in lines):
            raise ValueError("a part is not framed with CRLF")
        headers = email.parser.BytesHeaderParser(policy=email.policy.HTTP).parsebytes(
            b"\r\n".join(lines[1:]) + b"\r\n\r\n")
        name = headers.get_param("name", header="content-disposition")
        parts[name] = (headers.get_content_type(), content[:-2])
    return parts


class FakeSpeechServer(BaseHTTPRequestHandler):
    """An OpenAI-compatible transcription route at /<mode>/v1/audio/transcriptions, as strict as a
    real one about the form. Requests are kept in the server's `seen` as (path, headers, form
    fields, file part as (type, content)); a slow one sets the server's `cut` once the engine has
    closed the connection."""

    log_message = lambda *args: None

    def do_POST(self):
        body = self.rfile.read(int(self.headers["Content-Length"]))
        try:
            parts = strict_form(self.headers["Content-Type"], body)
        except ValueError as e:
            return self.answer(400, json.dumps({"error": {"message": str(e)}}).encode())
        fields = {name: content.decode() for name, (_, content) in parts.items() if name != "file"}
        self.server.seen.append((self.path, self.headers, fields, parts.get("file")))
        mode = self.path.split("/")[1]
        if mode == "trickle":
            # A byte now and then keeps every socket wait short; only a deadline ends it.
            self.wfile.write(b"HTTP/1.1 200 OK\r\n")
            for _ in range(100):
                try:
                    self.wfile.write(b"X-Wait: 1\r\n")
                    self.wfile.flush()
                except OSError:
                    return self.server.cut.set()
                time.sleep(0.1)
            return
        if mode == "slow":
            self.connection.settimeout(30)
            if self.connection.recv(1) == b"":
                self.server.cut.set()
            return
        self.answer(*REPLIES[mode])

    def answer(self, status, data):
        self.send_response(status)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)


class SpeechServerTest(EngineCase):
    def setUp(self):
        super().setUp()
        self.fake = serve(self, ThreadingHTTPServer(("127.0.0.1", 0), FakeSpeechServer))
        self.fake.seen, self.fake.cut = [], threading.Event()
        self.log = io.StringIO()
        # What the engine writes to its log: engine.log in the support folder.
        self.enterContext(mock.patch("sys.stderr", self.log))
        Handler.log_message.side_effect = lambda fmt, *args: self.log.write(fmt % args)
        self.enterContext(mock.patch("quenda_engine.config.load_dictionary",
                                     return_value="# mine\ncube cuttle -> kubectl\nQuenda\nkubectl"))
        self.server.recogniser.transcribe = lambda pcm: "what the built in heard"

    def base(self, mode):
        return f"http://127.0.0.1:{self.fake.server_address[1]}/{mode}/v1"

    def transcribe(self, mode, language="en", key=KEY, wav=None, base=None):
        query = f"language={language}&server={base or self.base(mode)}&model=whisper-large"
        return self.call("POST", "/transcribe?" + query, wav or wav_bytes(),
                         {"Quenda-Speech-Key": key} if key else {})

    def test_the_recording_goes_to_the_server_as_a_form_with_model_language_and_terms(self):
        wav = wav_bytes(1)
        detected = {"model": "whisper-large", "response_format": "json",
                    "prompt": "kubectl, Quenda"}
        for case, language, base, fields in (
                ("a language", "de", self.base("ok"), detected | {"language": "de"}),
                ("detected", "auto", self.base("ok"), detected),
                ("a base that ends in a slash", "auto", self.base("ok") + "/", detected)):
            with self.subTest(case):
                status, reply = self.transcribe("ok", language, wav=wav, base=base)
                self.assertEqual(200, status, reply)
                path, headers, sent, file = self.fake.seen[-1]
                self.assertEqual(("/ok/v1/audio/transcriptions", "Bearer " + KEY, fields),
                                 (path, headers["Authorization"], sent))
                self.assertEqual(("audio/wav", wav), file)
                self.assertEqual(("run kubectl now", "run cube cuttle now", "server"),
                                 (reply["text"], reply["raw"], reply["recogniser"]))
        self.transcribe("ok", key="")
        self.assertNotIn("Authorization", self.fake.seen[-1][1])

    def test_each_fault_is_told_and_english_falls_back_to_the_built_in_recogniser(self):
        port = self.fake.server_address[1]
        for mode, base, key, fragment in (
                ("key", None, KEY, "refused the key (401): Incorrect API key provided: ***"),
                ("keyless", None, "", "asks for a key (401): You didn't provide an API key."),
                ("forbidden", None, KEY, "refused the key (403): Not allowed for this project"),
                ("busy", None, KEY, "takes no more requests for now (429): Rate limit reached"),
                ("down", None, KEY, "failed (503): model is still loading"),
                ("html", None, KEY, "failed (502)."),
                ("broken", None, KEY, "failed (500): CUDA out of memory"),
                ("long", None, KEY, f"failed (500): {LONG_REASON}"),
                ("page", None, KEY, f"answered with a web page, not a transcription "
                                    f"({self.base('page')}/audio/transcriptions)."),
                ("garbage", None, KEY, "no transcription: nonsense"),
                ("empty", None, KEY, "no transcription: it was empty"),
                ("wrong", None, KEY, 'no transcription: {"transcript": "hello"}'),
                ("number", None, KEY, 'no transcription: {"text": 5}'),
                ("silent", None, KEY, "heard nothing"),
                ("refused", "http://127.0.0.1:1/v1", KEY, "cannot be reached"),
                ("no web address", "ftp://127.0.0.1/v1", KEY, "is not an http or https address"),
                ("bad port", f"http://127.0.0.1:{port}x/v1", KEY, "cannot be reached")):
            with self.subTest(mode, key=key):
                status, reply = self.transcribe(mode, "en", key, base=base)
                self.assertEqual((200, "What the built in heard.", "built-in"),
                                 (status, reply["text"], reply["recogniser"]), reply)
                self.assertIn(fragment, reply["serverError"])
                # Only the built-in recogniser's language is English: others get the message alone.
                self.assertFails(502, self.transcribe(mode, "de", key, base=base), fragment)
        self.assertNotIn(KEY, self.log.getvalue())
        self.assertIn("refused the key", self.log.getvalue())

    def test_a_server_that_keeps_silent_or_trickles_is_given_up_after_the_wait(self):
        # The wait grows with the recording and always leaves the app's own 60 s some room.
        waits = [speech_server.wait_for(s) for s in (0.5, 5, 30, 3600)]
        self.assertEqual(waits, sorted(waits))
        self.assertLess(waits[-1], 60)
        self.enterContext(mock.patch("quenda_engine.speech_server.wait_for", return_value=1.0))
        for mode in ("slow", "trickle"):
            with self.subTest(mode):
                began = time.monotonic()
                reply = self.transcribe(mode)[1]
                self.assertIn("did not answer within 1 s", reply["serverError"])
                self.assertLess(time.monotonic() - began, 5)

    def test_a_program_that_goes_away_cuts_the_upload(self):
        port = self.server.server_address[1]
        wav = wav_bytes(5)
        head = (f"POST /transcribe?language=en&server={self.base('slow')} HTTP/1.1\r\n"
                f"Host: 127.0.0.1:{port}\r\nQuenda-Token: {ACCESS.token.decode()}\r\n"
                f"Content-Type: application/octet-stream\r\nContent-Length: {len(wav)}\r\n\r\n")
        with socket.create_connection(("127.0.0.1", port), timeout=10) as app:
            app.sendall(head.encode() + wav)
            deadline = time.monotonic() + 10
            while not self.fake.seen and time.monotonic() < deadline:
                time.sleep(0.01)
        # The wait for this recording is 20 s; the cut comes as soon as the program has gone.
        self.assertTrue(self.fake.cut.wait(5), "the upload went on for nobody")

    def test_the_check_sends_a_moment_of_silence(self):
        for mode, expected in (("ok", (200, {"text": "run cube cuttle now"})),
                               ("silent", (200, {"text": ""}))):
            self.assertEqual(expected, self.call("POST", "/speech-check", {
                "baseURL": self.base(mode), "model": "m", "apiKey": " " + KEY + " "}))
        path, headers, fields, file = self.fake.seen[-1]
        self.assertEqual(("Bearer " + KEY, {"model": "m", "response_format": "json"}),
                         (headers["Authorization"], fields))
        self.assertGreater(len(file[1]), 16000)
        self.assertFails(502, self.call("POST", "/speech-check", {
            "baseURL": self.base("key"), "model": "m", "apiKey": KEY}), "refused the key (401)")
        self.assertFails(400, self.call("POST", "/speech-check", {"baseURL": "x"}), "model")
