import importlib.util
import os
import shutil
import subprocess
import tempfile
import threading
import unittest

from quenda_engine.recogniser import MODEL_DIR, Recogniser

from .helpers import EngineCase, wav_bytes


class SlowRecogniser(Recogniser):
    release = threading.Event()

    def _make_decoder(self):
        self.release.wait(10)
        return object()


class HealthTest(EngineCase):
    recogniser = SlowRecogniser

    def test_answers_while_loading_then_ready(self):
        self.server.recogniser.start_loading()
        self.assertEqual((200, {"ready": False, "model": "pocketsphinx en-us", "polish": True}),
                         self.call("GET", "/health"))
        SlowRecogniser.release.set()
        self.server.recogniser.wait_loaded(5)
        self.assertTrue(self.call("GET", "/health")[1]["ready"])

    def test_missing_model_is_reported(self):
        rec = self.server.recogniser = Recogniser(model_dir="/nonexistent")
        rec.start_loading(), rec.wait_loaded(10)
        status, body = self.call("GET", "/health")
        self.assertEqual((200, False), (status, body["ready"]))
        self.assertIn("pocketsphinx-en-us", body["error"])
        self.assertFails(503, self.call("POST", "/transcribe?language=en", wav_bytes()), "en-us")


class ProtocolTest(EngineCase):
    def test_failures_are_error_bodies(self):
        for method, path, status in (("GET", "/nope", 404), ("POST", "/nope", 404),
                                     ("GET", "/polish", 405), ("POST", "/health", 405),
                                     ("DELETE", "/health", 501)):
            self.assertFails(status, self.call(method, path, b"{}" if method == "POST" else None))

    def test_oversized_bodies_get_a_readable_refusal(self):
        self.server.max_wav_bytes = self.server.max_json_bytes = 1000
        self.assertFails(413, self.call("POST", "/transcribe?language=en", wav_bytes(1)))
        self.assertFails(413, self.call("POST", "/polish", b" " * 20_000_000))

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
        for wav, fragment in ((b"RIFF....WAVEjunk", ""), (b"", ""), (wav_bytes(width=1), "16-bit"),
                              (wav_bytes(channels=2), "mono"), (wav_bytes(rate=8000), "16000")):
            self.assertFails(400, self.call("POST", "/transcribe?language=en", wav), fragment)

    def test_malformed_and_mistyped_json(self):
        for body in (b"{", b"[]", b"\xff\xfe", {"style": "auto"}, {"raw": 5},
                     {"raw": "x", "noteAnswer": "yes"}, {"raw": "x", "endpoints": [{"model": "m"}]}):
            self.assertFails(400, self.call("POST", "/polish", body))
        self.assertFails(400, self.call("POST", "/correction-model", {"apiKey": "k"}), "baseURL")
        self.assertFails(400, self.call("POST", "/correction-model",
                                        {"apiKey": "", "baseURL": "ftp://x"}), "ftp://x")


MISSING = [name for name, present in (
    ("python3-pocketsphinx", importlib.util.find_spec("pocketsphinx")),
    ("pocketsphinx-en-us", os.path.isdir(MODEL_DIR)),
    ("espeak-ng", shutil.which("espeak-ng")), ("sox", shutil.which("sox"))) if not present]


@unittest.skipIf(MISSING, "not installed: " + ", ".join(MISSING))
class RealTranscriptionTest(EngineCase):
    recogniser = Recogniser

    def test_synthetic_speech_gives_a_text(self):
        with tempfile.TemporaryDirectory() as tmp:
            raw, wav = os.path.join(tmp, "raw.wav"), os.path.join(tmp, "out.wav")
            subprocess.run(["espeak-ng", "-w", raw, "hello world"], check=True)
            subprocess.run(["sox", raw, "-r", "16000", "-c", "1", "-b", "16", wav], check=True)
            with open(wav, "rb") as f:
                status, body = self.call("POST", "/transcribe?language=auto", f.read())
        self.assertEqual(200, status, body)
        self.assertTrue(body["text"].strip())
