"""The engine's own time around a dictation sent to a speech server: a 5 s recording from the
program to the engine, on to a server that answers at once, and the text back, less the server's
own time from the whole request in to its answer out. Prints medians in milliseconds.

Run from engine/: /usr/bin/python3 bench_speech_server.py [ROUNDS]"""

import http.client
import json
import os
import statistics
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from unittest import mock

from quenda_engine.access import TOKEN_HEADER, Access
from quenda_engine.recogniser import BYTES_PER_SECOND, wav_of
from quenda_engine.server import SPEECH_KEY_HEADER, EngineServer, Handler

SECONDS = 5.0
WARMUP = 20


class InstantServer(BaseHTTPRequestHandler):
    log_message = lambda *args: None
    reply = json.dumps({"text": "The report for the second quarter is ready for review."}).encode()

    def do_POST(self):
        self.rfile.read(int(self.headers["Content-Length"]))
        began = time.perf_counter()
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(self.reply)))
        self.end_headers()
        self.wfile.write(self.reply)
        self.wfile.flush()
        self.server.own.append(time.perf_counter() - began)


class NoRecogniser:
    ready, error = True, None
    start_loading = wait_loaded = lambda *args: None


def serve(server):
    threading.Thread(target=server.serve_forever, args=(0.05,), daemon=True).start()
    return server


def main(rounds):
    secret = os.urandom(32).hex().encode()
    support = tempfile.mkdtemp()
    # A dictionary of fair size: its terms become the prompt, its pairs are applied to the text.
    with open(os.path.join(support, "config.json"), "w") as f:
        json.dump({"dictionary": "\n".join(f"term {i} -> Term{i}" for i in range(100))}, f)
    os.environ["QUENDA_SUPPORT"] = support
    fake = serve(ThreadingHTTPServer(("127.0.0.1", 0), InstantServer))
    fake.own = []
    engine = serve(EngineServer(0, NoRecogniser(), Access(secret)))
    port = engine.server_address[1]
    base = f"http://127.0.0.1:{fake.server_address[1]}/v1"
    wav = wav_of(bytes(int(SECONDS * BYTES_PER_SECOND)))
    headers = {TOKEN_HEADER: Access(secret).token.decode(), "Content-Type": "application/octet-stream",
               SPEECH_KEY_HEADER: "sk-bench"}
    totals, own = [], []
    with mock.patch.object(Handler, "log_message"):
        for i in range(WARMUP + rounds):
            began = time.perf_counter()
            conn = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
            conn.request("POST", f"/transcribe?language=en&server={base}&model=m", wav, headers)
            reply = conn.getresponse()
            body = reply.read()
            conn.close()
            total = time.perf_counter() - began
            assert reply.status == 200 and json.loads(body)["recogniser"] == "server", body
            if i >= WARMUP:
                totals.append(total)
                own.append(total - fake.own[-1])
    engine.shutdown()
    fake.shutdown()
    ms = lambda values: statistics.median(values) * 1000
    print(f"{rounds} rounds of a {SECONDS:.0f} s recording: engine's own time median {ms(own):.2f} ms "
          f"(round trip {ms(totals):.2f} ms, server {ms(fake.own[WARMUP:]):.3f} ms)")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 200)
