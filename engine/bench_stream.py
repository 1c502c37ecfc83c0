"""The wait for the text after the key is released: a recording sent to /stream while it is made (in
20 ms pieces, as the program's recorder hands them over, in real time) against the same recording
sent whole to /transcribe at its end, as the program did before. Two recordings: the sentence of
scripts/measure where its hold puts it, and a 20-second dictation. Prints medians of the rounds in
milliseconds, and the engine's CPU time per second of audio. An engine without /stream (an older
checkout on PYTHONPATH) is measured whole only.

Run from engine/: /usr/bin/python3 bench_stream.py [ROUNDS]"""

import contextlib
import http.client
import io
import json
import socket
import statistics
import subprocess
import sys
import threading
import time
from unittest import mock

from quenda_engine import server as engine_server
from quenda_engine.access import TOKEN_HEADER, Access
from quenda_engine.recogniser import BYTES_PER_SECOND, Recogniser, wav_of
from quenda_engine.server import EngineServer, Handler

PIECE = 640  # 20 ms
SENTENCE = "hello world this is a test"
DICTATION = ("The quarterly report shows that revenue grew by twelve percent compared with last year, "
             "while costs remained flat. We expect the new product line to launch in the spring, and "
             "the marketing team will present their plan next week. Please send your comments before "
             "Friday so that we can include them in the final version of the report.")


def speech(text, rate):
    wav = subprocess.run(f"espeak-ng -s {rate} --stdout '{text}' | sox -q -t wav - -r 16000 -c 1 -b 16 "
                         f"-t raw -", shell=True, capture_output=True, check=True).stdout
    return wav[:len(wav) // 2 * 2]


def padded(pcm, lead, seconds):
    out = bytes(int(lead * BYTES_PER_SECOND) // 2 * 2) + pcm
    return out[:int(seconds * BYTES_PER_SECOND)].ljust(int(seconds * BYTES_PER_SECOND), b"\0")


class Client:
    def __init__(self, port, token):
        self.port, self.token = port, token

    def whole(self, pcm):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=120)
        began = time.perf_counter()
        conn.request("POST", "/transcribe?language=en", wav_of(pcm),
                     {TOKEN_HEADER: self.token, "Content-Type": "application/octet-stream"})
        body = json.loads(conn.getresponse().read())
        conn.close()
        return time.perf_counter() - began, body["raw"]

    def stream(self, pcm):
        s = socket.create_connection(("127.0.0.1", self.port), timeout=120)
        s.sendall(b"POST /stream?language=en HTTP/1.1\r\nHost: 127.0.0.1:%d\r\n%s: %s\r\n"
                  b"Content-Type: application/octet-stream\r\nTransfer-Encoding: chunked\r\n\r\n"
                  % (self.port, TOKEN_HEADER.encode(), self.token.encode()))
        due = time.perf_counter()
        for at in range(0, len(pcm), PIECE):
            due += PIECE / BYTES_PER_SECOND
            time.sleep(max(0.0, due - time.perf_counter()))
            piece = pcm[at:at + PIECE]
            s.sendall(b"%x\r\n%s\r\n" % (len(piece), piece))
        released = time.perf_counter()
        s.sendall(b"0\r\n\r\n")
        reply = b"".join(iter(lambda: s.recv(65536), b""))
        waited = time.perf_counter() - released
        s.close()
        return waited, json.loads(reply.partition(b"\r\n\r\n")[2])["raw"]


def measure(label, pcm, client, rounds, streams):
    seconds = len(pcm) / BYTES_PER_SECOND
    rows = {"whole": [], "stream": []}
    for n in range(rounds + 1):  # the first round warms up and is not counted
        for route in ("whole", "stream") if streams else ("whole",):
            cpu = time.process_time()
            waited, heard = getattr(client, route)(pcm)
            if n:
                rows[route].append((waited, (time.process_time() - cpu) / seconds, heard))
    print(f"{label} ({seconds:.1f} s of audio), medians of {rounds}:")
    for route, measured in rows.items():
        if measured:
            wait = statistics.median(m[0] for m in measured) * 1000
            cpu = statistics.median(m[1] for m in measured)
            print(f"  {route:6} wait after the release {wait:7.0f} ms, engine CPU {cpu:.3f} s per s of audio"
                  f"   heard: {measured[-1][2][:60]!r}")
    if rows["stream"]:
        ratio = statistics.median(m[0] for m in rows["stream"]) / statistics.median(m[0] for m in rows["whole"])
        print(f"  stream wait / whole decode: {ratio:.2f}")


def main(rounds):
    secret = b"b" * 64
    access = Access(secret)
    recogniser = Recogniser()
    recogniser.start_loading()
    recogniser.wait_loaded(60)
    with mock.patch.object(Handler, "log_message"), contextlib.redirect_stderr(io.StringIO()):
        server = EngineServer(0, recogniser, access)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        client = Client(server.server_address[1], access.token.decode())
        streams = "/stream" in engine_server.ROUTES
        measure("the sentence of scripts/measure", padded(speech(SENTENCE, 140), 0.42, 4.3), client, rounds,
                streams)
        measure("a 20-second dictation", padded(speech(DICTATION, 150), 0.3, 20.0), client, rounds, streams)
        server.shutdown()


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 5)
