"""Speech recognition with Debian's pocketsphinx and its US English model."""

import contextlib
import io
import os
import re
import sys
import threading
import time
import wave

MODEL_DIR = "/usr/share/pocketsphinx/model/en-us"
MODEL_NAME = "pocketsphinx en-us"
SAMPLE_RATE = 16000
BYTES_PER_SECOND = 2 * SAMPLE_RATE
# A writer that cannot seek back to fill in the sizes (sox or espeak-ng into a
# pipe) leaves 0x7ffff000 or more there; the samples then run to the end.
UNKNOWN_SIZE = 0x7FFFF000
# The decoder takes the audio in blocks of this size, however it arrives: its running
# normalisation moves at the edges of what it is given, so the same blocks give the same words
# for a recording sent whole or while it is made.
BLOCK_BYTES = BYTES_PER_SECOND // 10

MISSING_MODULE = ("Speech recognition is unavailable: the Python module pocketsphinx "
                  "is missing (install the Debian package python3-pocketsphinx).")
MISSING_MODEL = ("Speech recognition is unavailable: the English model is missing "
                 "(install the Debian package pocketsphinx-en-us).")


class BadAudio(ValueError):
    """The request body is not the PCM mono 16 kHz 16-bit WAV the app records."""


def read_pcm(data):
    """The raw little-endian samples of a WAV body."""
    try:
        with wave.open(io.BytesIO(data), "rb") as w:
            if w.getnchannels() != 1 or w.getsampwidth() != 2 or w.getframerate() != SAMPLE_RATE:
                raise BadAudio(
                    f"Expected mono 16-bit {SAMPLE_RATE} Hz audio, got {w.getnchannels()} "
                    f"channel(s), {8 * w.getsampwidth()}-bit, {w.getframerate()} Hz.")
            claimed = w.getnframes() * w.getsampwidth()
            pcm = w.readframes(w.getnframes())
    except (wave.Error, EOFError, RuntimeError) as e:  # RuntimeError: a chunk size that lies
        raise BadAudio(f"The body is not a PCM WAV file: {e or 'a chunk size is wrong'}") from None
    if len(pcm) < claimed < UNKNOWN_SIZE:
        raise BadAudio(f"The WAV file is cut short: {len(pcm)} of its {claimed} bytes of "
                       f"samples arrived.")
    return pcm


def wav_of(pcm):
    """16-bit mono samples at the app's rate as a WAV file."""
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(1), w.setsampwidth(2), w.setframerate(SAMPLE_RATE)
        w.writeframes(pcm)
    return out.getvalue()


def is_english(language):
    """"auto" and an empty code fall to English, the only model installed."""
    code = re.split(r"[-_]", language.strip().lower(), maxsplit=1)[0]
    return code in ("", "auto", "en", "eng")


class Utterance:
    """One recording on its way through the decoder: fed in pieces of any size, finished once."""

    def __init__(self, decoder):
        self._decoder = decoder
        self._pending = bytearray()
        self.fed = 0
        self.finished = False

    def feed(self, pcm):
        self.fed += len(pcm)
        self._pending += pcm
        whole = len(self._pending) - len(self._pending) % BLOCK_BYTES
        for at in range(0, whole, BLOCK_BYTES):
            self._decoder.process_raw(bytes(self._pending[at:at + BLOCK_BYTES]), False, False)
        del self._pending[:whole]

    def finish(self):
        if self._pending:
            self._decoder.process_raw(bytes(self._pending), False, False)
            self._pending.clear()
        self.finished = True
        self._decoder.end_utt()
        hyp = self._decoder.hyp()
        return hyp.hypstr.strip() if hyp else ""


class Recogniser:
    """Loads the decoder in the background so /health can answer at once."""

    def __init__(self, model_dir=MODEL_DIR):
        self.model_dir = model_dir
        self.error = None
        self._decoder = None
        self._loaded = threading.Event()
        self._started = False
        self._start_lock = threading.Lock()
        # A pocketsphinx decoder holds one utterance at a time.
        self._decode_lock = threading.Lock()

    def start_loading(self):
        with self._start_lock:
            if self._started:
                return
            self._started = True
        threading.Thread(target=self._load, name="recogniser-load", daemon=True).start()

    @property
    def ready(self):
        return self._decoder is not None

    def wait_loaded(self, timeout):
        return self._loaded.wait(timeout)

    def _load(self):
        began = time.monotonic()
        try:
            self._decoder = self._make_decoder()
            print(f"recogniser ready in {time.monotonic() - began:.2f} s", file=sys.stderr)
        except Exception as e:  # any load failure must reach /health, not kill the engine
            self.error = e.args[0] if isinstance(e, RuntimeError) and e.args else \
                f"Speech recognition is unavailable: {e}"
            print(self.error, file=sys.stderr)
        finally:
            self._loaded.set()

    def _make_decoder(self):
        try:
            from pocketsphinx import Decoder
        except ImportError:
            raise RuntimeError(MISSING_MODULE) from None
        files = {"hmm": "en-us", "lm": "en-us.lm.bin", "dict": "cmudict-en-us.dict"}
        paths = {k: os.path.join(self.model_dir, v) for k, v in files.items()}
        if not all(os.path.exists(p) for p in paths.values()):
            raise RuntimeError(MISSING_MODEL)
        # The second pass over the whole recording could only start at its end, and would make the
        # wait after it grow with the recording; the words come out about as good without it.
        if not hasattr(Decoder, "default_config"):
            # pocketsphinx 5 takes its settings as keyword arguments.
            return Decoder(logfn=os.devnull, fwdflat=False, **paths)
        config = Decoder.default_config()
        for key, path in paths.items():
            config.set_string("-" + key, path)
        config.set_string("-logfn", os.devnull)
        config.set_boolean("-fwdflat", False)
        return Decoder(config)

    @contextlib.contextmanager
    def utterance(self):
        """The decoder, for one recording at a time; one left unfinished is dropped."""
        with self._decode_lock:
            d = self._decoder
            d.start_utt()
            utterance = Utterance(d)
            try:
                yield utterance
            finally:
                if not utterance.finished:
                    d.end_utt()

    def transcribe(self, pcm):
        with self.utterance() as utterance:
            utterance.feed(pcm)
            return utterance.finish()
