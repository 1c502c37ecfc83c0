"""The engine's HTTP interface on 127.0.0.1."""

import json
import re
import threading
import traceback
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from . import providers
from .polish import Failure, Polisher
from .recogniser import MODEL_NAME, BadAudio, is_english, read_pcm

MAX_WAV_BYTES = 64 * 1024 * 1024      # over half an hour of 16 kHz 16-bit mono
MAX_JSON_BYTES = 4 * 1024 * 1024
MAX_EMPTY_BYTES = 64 * 1024           # /warmup and /shutdown carry no body
DRAIN_CAP = 64 * 1024 * 1024
LOAD_WAIT = 30.0

ENDPOINT_KEYS = {"model": str, "apiKey": str, "baseURL": str, "kind": str}
POLISH_KEYS = {"raw": str, "selection": str, "style": str, "instructions": str,
               "dictionary": str, "targetLanguage": str, "provider": str, "apiKey": str,
               "openAIModel": str, "baseURL": str, "endpoints": list, "noteAnswer": bool}
JSON_TYPES = {str: "a string", list: "an array", bool: "true or false"}


def check_types(body, types, required, where=""):
    if not isinstance(body, dict):
        raise Failure(400, f"{where.rstrip('.') or 'The body'} must be a JSON object.")
    for key, kind in types.items():
        if key not in body:
            if key in required:
                raise Failure(400, f"Missing key \"{where}{key}\".")
        elif not isinstance(body[key], kind):
            raise Failure(400, f"Key \"{where}{key}\" must be {JSON_TYPES[kind]}.")


class EngineServer(ThreadingHTTPServer):
    daemon_threads = True
    max_wav_bytes = MAX_WAV_BYTES
    max_json_bytes = MAX_JSON_BYTES

    def __init__(self, port, recogniser):
        self.recogniser = recogniser
        self.polisher = Polisher()
        super().__init__(("127.0.0.1", port), Handler)

    def health(self):
        rec = self.recogniser
        body = {"ready": rec.ready, "model": MODEL_NAME, "polish": True}
        if rec.error:
            body["error"] = rec.error
        return body

    def stop_soon(self):
        # shutdown() waits for serve_forever, so it must not run on its thread.
        threading.Thread(target=self.shutdown, daemon=True).start()


class Handler(BaseHTTPRequestHandler):
    server_version = "QuendaEngine"
    timeout = 30
    _unread = 0

    def do_GET(self):
        path = providers.split_url(self.path).path
        if path == "/health":
            self.reply(200, self.server.health())
        elif path in POSTS:
            self.send_error(405, f"{path} takes POST.")
        else:
            self.send_error(404, f"No such endpoint: {path}")

    def do_POST(self):
        parts = providers.split_url(self.path)
        self._unread = self._content_length()
        route = POSTS.get(parts.path)
        if route is None:
            if parts.path == "/health":
                return self.send_error(405, "/health takes GET.")
            return self.send_error(404, f"No such endpoint: {parts.path}")
        try:
            status, body = route(self, parts.query)
        except Failure as f:
            return self.send_error(f.status, str(f))
        except Exception as e:  # a fault of the engine still answers with an ErrorBody
            traceback.print_exc()
            return self.send_error(500, f"Engine failure: {e}")
        try:
            self.reply(status, body)
        finally:
            if route is Handler.on_shutdown:
                # Only after the reply, or the process may end before it leaves.
                self.server.stop_soon()

    # -- replies ------------------------------------------------------------

    def reply(self, status, body):
        data = json.dumps(body).encode()
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def send_error(self, code, message=None, explain=None):
        # Every failure, the base class's own included, leaves as an ErrorBody.
        text = message or self.responses.get(code, ("Error",))[0]
        self.close_connection = True
        try:
            self.reply(code, {"error": text})
        finally:
            self._drain()

    def _drain(self):
        # Reading what the client still sends lets it see the reply instead
        # of a reset connection.
        left = min(self._unread, DRAIN_CAP)
        self._unread = 0
        try:
            while left > 0:
                chunk = self.rfile.read(min(left, 65536))
                if not chunk:
                    break
                left -= len(chunk)
        except OSError:
            pass

    def log_request(self, code="-", size="-"):
        # The app polls /health every second; only its failures are worth a line.
        if not (getattr(self, "path", "") == "/health" and code == 200):
            super().log_request(code, size)

    # -- bodies -------------------------------------------------------------

    def _content_length(self):
        value = self.headers.get("Content-Length")
        try:
            return max(0, int(value)) if value else 0
        except ValueError:
            return 0

    def read_body(self, limit, required=True):
        if self.headers.get("Transfer-Encoding"):
            raise Failure(411, "Send the body with a Content-Length.")
        value = self.headers.get("Content-Length")
        if value is None:
            if required:
                raise Failure(411, "Send the body with a Content-Length.")
            return b""
        if not re.fullmatch(r"[0-9]+", value.strip()):  # isdigit() also takes "²"
            raise Failure(400, "Bad Content-Length.")
        length = int(value)
        if length > limit:
            raise Failure(413, f"The body is larger than {limit} bytes.")
        data = self.rfile.read(length)
        self._unread = 0
        if len(data) < length:
            raise Failure(400, "The body ended early.")
        return data

    def read_json(self, types, required):
        try:
            body = json.loads(self.read_body(self.server.max_json_bytes).decode("utf-8"))
        except (ValueError, RecursionError):  # RecursionError: nesting too deep
            raise Failure(400, "The body is not valid JSON.") from None
        check_types(body, types, required)
        return body

    # -- endpoints ----------------------------------------------------------

    def on_warmup(self, query):
        self.read_body(MAX_EMPTY_BYTES, required=False)
        self.server.recogniser.start_loading()
        return 200, self.server.health()

    def on_shutdown(self, query):
        self.read_body(MAX_EMPTY_BYTES, required=False)
        self.close_connection = True
        return 200, {"ok": True}

    def on_transcribe(self, query):
        wav = self.read_body(self.server.max_wav_bytes)
        language = urllib.parse.parse_qs(query, keep_blank_values=True).get("language", [""])[0]
        if not is_english(language):
            raise Failure(422, f"Only English speech recognition is installed; the language "
                               f"\"{language}\" is not available. Choose English or automatic.")
        try:
            pcm = read_pcm(wav)
        except BadAudio as e:
            raise Failure(400, str(e)) from None
        rec = self.server.recogniser
        if not rec.ready:
            rec.start_loading()
            rec.wait_loaded(LOAD_WAIT)
            if not rec.ready:
                raise Failure(503, rec.error or "Speech recognition is still loading.")
        return 200, {"text": rec.transcribe(pcm), "language": "en"}

    def on_polish(self, query):
        body = self.read_json(POLISH_KEYS, {"raw"})
        for i, ep in enumerate(body.get("endpoints", [])):
            check_types(ep, ENDPOINT_KEYS, {"model", "baseURL", "kind"}, f"endpoints[{i}].")
        return 200, {"text": self.server.polisher.polish(body)}

    def on_correction_model(self, query):
        body = self.read_json({"apiKey": str, "baseURL": str}, {"apiKey", "baseURL"})
        base = body["baseURL"].strip()
        parts = providers.split_url(base)
        if parts.scheme not in ("http", "https") or not parts.hostname:
            raise Failure(400, f"\"{base}\" is not an http(s) base URL.")
        try:
            return 200, self.server.polisher.correction_model(base, body["apiKey"].strip())
        except providers.ProviderError as e:
            raise Failure(502, f"The model list of {base} could not be read: {e}") from None


POSTS = {"/warmup": Handler.on_warmup, "/shutdown": Handler.on_shutdown,
         "/transcribe": Handler.on_transcribe, "/polish": Handler.on_polish,
         "/correction-model": Handler.on_correction_model}
