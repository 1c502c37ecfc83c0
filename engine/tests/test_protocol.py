import importlib.util
import os
import shutil
import struct
import subprocess
import threading
import unittest

from quenda_engine.recogniser import MODEL_DIR, Recogniser

from .helpers import EngineCase, wav_bytes


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
            self.assertFails(status, self.call(method, path, body, {"Host": "127.0.0.1"}))

    def test_oversized_or_badly_sized_bodies(self):
        self.server.max_wav_bytes = self.server.max_json_bytes = 1000
        self.assertFails(413, self.call("POST", "/transcribe?language=en", wav_bytes(1)))
        self.assertFails(413, self.call("POST", "/polish", b" " * 20_000_000))
        for length in ("-5", "\u00b2", "1e3"):
            self.assertFails(400, self.call("POST", "/transcribe", b"", {"Content-Length": length}))

    def test_shutdown_replies_then_stops(self):
        self.assertEqual(200, self.call("POST", "/shutdown")[0])
        self.server.thread.join(5)
        self.assertFalse(self.server.thread.is_alive())

    def test_transcribe_languages(self):
        for code in ("", "auto", "en", "en-US", "EN_gb"):
            self.assertEqual((200, {"text": "6400 bytes heard", "language": "en"}),
                             self.call("POST", "/transcribe?language=" + code, wav_bytes()))
        self.assertFails(422, self.call("POST", "/transcribe?language=de", wav_bytes()), '"de"')

    def test_malformed_or_foreign_audio(self):
        lying_chunk = wav_bytes()[:16] + struct.pack("<I", 0x7FFFFFF0) + wav_bytes()[20:]
        for wav, fragment in ((b"RIFF....WAVEjunk", ""), (b"", ""), (lying_chunk, "WAV"),
                              (wav_bytes(width=1), "16-bit"), (wav_bytes(channels=2), "mono"),
                              (wav_bytes(rate=8000), "16000")):
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
