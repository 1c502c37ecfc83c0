"""POST /stream: a recording sent while it is made, as the chunks of one request's body, and fed
to the recogniser as they arrive; at the end of the body only the last block and the decoder's
finishing step remain. A connection that ends before its body does drops the recording and frees
the decoder for the next one."""

import re
import sys
import time
import urllib.parse

from . import config, transcription
from .polish import Failure
from .recogniser import BYTES_PER_SECOND

# One chunk is read whole before it is fed; the program sends a few hundredths of a second each.
MAX_CHUNK = 1024 * 1024
MAX_LINE = 256
# The program stops a recording at 300 s; the rest is for a slow machine to catch up.
STREAM_DEADLINE = 600.0
_SIZE = re.compile(rb"[0-9a-fA-F]{1,8}")


class Dropped(Exception):
    """The program went away before the recording ended (Escape, a newer dictation, a restart)."""


def chunks(rfile, limit):
    """The chunks of a chunked body, none over MAX_CHUNK and all together at most `limit` bytes."""
    total = 0
    while True:
        line = rfile.readline(MAX_LINE)
        if not line:
            raise Dropped()
        size = line.split(b";", 1)[0].strip()
        if not line.endswith(b"\n") or not _SIZE.fullmatch(size):
            raise Failure(400, "Bad chunk size line.")
        size = int(size, 16)
        if size > MAX_CHUNK:
            raise Failure(413, f"A chunk is larger than {MAX_CHUNK} bytes.")
        total += size
        if total > limit:
            raise Failure(413, f"The recording is larger than {limit} bytes.")
        if size == 0:
            break
        data = rfile.read(size)
        if len(data) < size:
            raise Dropped()
        if rfile.readline(MAX_LINE).strip():
            raise Failure(400, "A chunk is longer than its size.")
        yield data
    while line not in (b"\r\n", b"\n"):  # trailers, until the blank line
        line = rfile.readline(MAX_LINE)
        if not line:
            raise Dropped()


def on_stream(handler, query):
    if handler.headers.get("Transfer-Encoding", "").strip().lower() != "chunked" or \
            "Content-Length" in handler.headers:
        raise Failure(411, "Send the recording with Transfer-Encoding: chunked.")
    params = urllib.parse.parse_qs(query, keep_blank_values=True)
    if params.get("server", [""])[0].strip():
        raise Failure(400, "A recording for a speech server goes whole to /transcribe.")
    transcription.refuse_unless_english(params.get("language", [""])[0])
    handler.deadline = time.monotonic() + STREAM_DEADLINE
    rec = handler.server.recogniser
    transcription.wait_loaded(rec)
    cpu = time.thread_time()
    try:
        with rec.utterance() as utterance:
            for chunk in chunks(handler.rfile, handler.server.max_wav_bytes):
                utterance.feed(chunk)
            ended = time.monotonic()
            heard = utterance.finish()
    except OSError:  # timed out or reset while the recording arrived
        raise Dropped() from None
    print(f"stream: {utterance.fed / BYTES_PER_SECOND:.2f} s of audio decoded with "
          f"{time.thread_time() - cpu:.2f} s of CPU, the text {time.monotonic() - ended:.3f} s "
          f"after its end", file=sys.stderr)
    return 200, transcription.built_in(heard, config.load_dictionary(config.support_dir()))
