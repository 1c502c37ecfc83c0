import contextlib
import importlib.util
import io
import json
import os
import shutil
import socket
import subprocess
import threading
import unittest
import zlib
from unittest import mock

from quenda_engine import stream
from quenda_engine.recogniser import MODEL_DIR, Recogniser, read_pcm

from .helpers import ACCESS, EngineCase, let_go, wav_bytes

SPEECH = bytes(range(256)) * 125  # one second of samples that are not all alike


class BlockDecoder:
    """Words that name the blocks it was fed, as a decoder whose normalisation moves at the edges
    of what it is given would hear them; `gate` holds each block until it is set."""

    def __init__(self):
        self.gate = threading.Event()
        self.gate.set()
        self.blocks, self.hyps = [], 0

    def start_utt(self):
        self.blocks, self.ended = [], False

    def process_raw(self, pcm, no_search, full_utt):
        self.gate.wait(10)
        self.blocks.append(f"{len(pcm)}:{zlib.crc32(pcm):x}")

    def end_utt(self):
        self.ended = True

    def hyp(self):
        self.hyps += 1
        return type("Hyp", (), {"hypstr": " ".join(self.blocks)})()


def recogniser_with(decoder):
    rec = Recogniser()
    rec._decoder = decoder
    return rec


class StreamTest(EngineCase):
    def setUp(self):
        super().setUp()
        # Each stream's figures go to the engine's log.
        self.enterContext(contextlib.redirect_stderr(io.StringIO()))

    def open(self, path="/stream?language=en", headers=b"Transfer-Encoding: chunked\r\n", token=True):
        port = self.server.server_address[1]
        s = socket.create_connection(("127.0.0.1", port), timeout=10)
        self.addCleanup(s.close)
        s.sendall(b"POST %s HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nQuenda-Token: %s\r\n"
                  b"Content-Type: application/octet-stream\r\n%s\r\n"
                  % (path.encode(), port, ACCESS.token if token else b"x", headers))
        return s

    @staticmethod
    def send(s, pcm, piece):
        for at in range(0, len(pcm), piece):
            s.sendall(b"%x\r\n%s\r\n" % (len(pcm[at:at + piece]), pcm[at:at + piece]))

    @staticmethod
    def answer(s, end=b"0\r\n\r\n"):
        s.sendall(end)
        reply = b"".join(iter(lambda: s.recv(65536), b""))
        head, _, body = reply.partition(b"\r\n\r\n")
        return int(head.split()[1]), json.loads(body)

    def streamed(self, pcm, piece):
        s = self.open()
        self.send(s, pcm, piece)
        return self.answer(s)

    def test_the_stream_and_the_whole_recording_agree_on_the_words(self):
        wav = wav_bytes(2.0)[:44] + SPEECH * 2
        self.server.recogniser = recogniser_with(BlockDecoder())
        whole = self.call("POST", "/transcribe?language=en", wav)
        self.assertEqual(200, whole[0], whole)
        for piece in (640, 7, 3199, 100_000):
            with self.subTest(piece=piece):
                self.assertEqual(whole, self.streamed(read_pcm(wav), piece))

    def test_a_recording_the_engine_cannot_follow_gives_the_same_text_later(self):
        decoder = BlockDecoder()
        self.server.recogniser = recogniser_with(decoder)
        expected = self.streamed(SPEECH, 640)
        decoder.gate.clear()
        s = self.open()
        self.send(s, SPEECH, 640)
        # All of it waits for the decoder, end included.
        s.sendall(b"0\r\n\r\n")
        decoder.gate.set()
        self.assertEqual(expected, self.answer(s, b""))

    def test_a_stream_that_ends_early_is_dropped_and_frees_the_decoder(self):
        decoder = BlockDecoder()
        self.server.recogniser = recogniser_with(decoder)
        for case, cut in (("closed between chunks", b""), ("closed inside a chunk", b"280\r\nabc")):
            with self.subTest(case):
                decoder.hyps = 0
                s = self.open()
                self.send(s, SPEECH, 640)
                s.sendall(cut)
                s.close()
                # The next recording has the decoder to itself: none of the dropped one is in it.
                status, body = self.call("POST", "/transcribe?language=en", wav_bytes(0.1))
                self.assertEqual((200, f"3200:{zlib.crc32(bytes(3200)):x}"), (status, body["raw"]))
                self.assertEqual(1, decoder.hyps, "the dropped recording was decoded to its end")

    def test_refusals_and_bounds(self):
        self.server.max_wav_bytes = 5000
        self.enterContext(mock.patch.object(stream, "MAX_CHUNK", 2000))
        chunk = b"7d0\r\n" + bytes(2000) + b"\r\n"
        for case, path, headers, body, status in (
                ("no token", None, None, b"", 403),
                ("a body with a length", None, b"Content-Length: 5\r\n", b"12345", 411),
                ("a speech server", "/stream?server=http://x", None, b"", 400),
                ("another language", "/stream?language=de", None, b"", 422),
                ("a bad size line", None, None, b"zz\r\n", 400),
                ("a chunk longer than its size", None, None, b"2\r\nabc\r\n", 400),
                ("a chunk over the cap", None, None, b"7d1\r\n", 413),
                ("a recording over the cap", None, None, chunk * 2 + b"7d0\r\n", 413)):
            with self.subTest(case):
                s = self.open(path or "/stream?language=en",
                              headers or b"Transfer-Encoding: chunked\r\n", token=case != "no token")
                s.sendall(body)
                self.assertEqual(status, self.answer(s, b"")[0])

    def test_a_stream_past_its_deadline_is_dropped(self):
        self.enterContext(mock.patch.object(stream, "STREAM_DEADLINE", 0.3))
        s = self.open()
        self.assertTrue(let_go(s, lambda: self.send(s, b"\0\0", 2)),
                        "the engine kept the stream for 10 s")

    @unittest.skipUnless(importlib.util.find_spec("pocketsphinx") and os.path.isdir(MODEL_DIR)
                         and shutil.which("espeak-ng") and shutil.which("sox"),
                         "needs python3-pocketsphinx, pocketsphinx-en-us, espeak-ng and sox")
    def test_the_recogniser_hears_the_same_words_both_ways(self):
        wav = subprocess.run("espeak-ng --stdout 'please send the report before friday' | sox -q -t wav"
                             " - -r 16000 -c 1 -b 16 -t wav -", shell=True, capture_output=True,
                             check=True).stdout
        # Each route on a decoder of its own: a decoder carries its normalisation from one
        # recording to the next.
        heard = []
        for route in ("whole", "stream"):
            self.server.recogniser = Recogniser()
            self.server.recogniser.start_loading()
            if route == "whole":
                heard.append(self.call("POST", "/transcribe?language=en", wav))
            else:
                heard.append(self.streamed(read_pcm(wav), 640))
        self.assertEqual(200, heard[0][0], heard)
        self.assertTrue(heard[0][1]["raw"])
        self.assertEqual(heard[0], heard[1])
