"""The engine's HTTP interface on 127.0.0.1."""

import io
import json
import re
import socket
import threading
import time
import traceback
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from . import config, outbound, providers, speech_server, stream, transcription
from .access import CHALLENGE_HEADER, PROOF_HEADER, TOKEN_HEADER
from .polish import Failure, Polisher
from .recogniser import BYTES_PER_SECOND, MODEL_NAME, wav_of
from .transcription import SpeechServer

MAX_WAV_BYTES = 64 * 1024 * 1024      # over half an hour of 16 kHz 16-bit mono
MAX_JSON_BYTES = 4 * 1024 * 1024
MAX_EMPTY_BYTES = 64 * 1024           # /warmup and /shutdown carry no body
DRAIN_CAP = 64 * 1024 * 1024
# How long a refused client may pause in sending what it announced.
DRAIN_PAUSE = 0.5
# A request trickled in byte by byte must not hold its thread for ever: the
# socket timeout restarts with every byte, this deadline does not.
REQUEST_DEADLINE = 60.0
# Requests in progress at once; the app makes one or two.
MAX_CONNECTIONS = 16

JSON, AUDIO = "application/json", "application/octet-stream"
_BUSY = json.dumps({"error": "The engine is busy; try again."}).encode()
BUSY_REPLY = b"HTTP/1.0 503 Service Unavailable\r\nContent-Type: application/json\r\n" \
             b"Content-Length: %d\r\nConnection: close\r\n\r\n%s" % (len(_BUSY), _BUSY)

ENDPOINT_KEYS = {"model": str, "apiKey": str, "baseURL": str, "kind": str}
POLISH_KEYS = {"raw": str, "selection": str, "style": str, "instructions": str,
               "dictionary": str, "targetLanguage": str, "provider": str, "apiKey": str,
               "openAIModel": str, "baseURL": str, "endpoints": list, "noteAnswer": bool}
JSON_TYPES = {str: "a string", list: "an array", bool: "true or false"}
SPEECH_CHECK_KEYS = {"baseURL": str, "model": str, "apiKey": str}
# The key of the user's speech server rides in a header: the body of /transcribe is the recording.
SPEECH_KEY_HEADER = "Quenda-Speech-Key"
CHECK_SECONDS = 0.5


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
    # Connections wait in the kernel's queue, not refused, while the loop accepts.
    request_queue_size = 64
    max_wav_bytes = MAX_WAV_BYTES
    max_json_bytes = MAX_JSON_BYTES
    request_deadline = REQUEST_DEADLINE
    max_connections = MAX_CONNECTIONS

    def __init__(self, port, recogniser, access):
        self.recogniser = recogniser
        self.access = access
        self.polisher = Polisher()
        self._slots = threading.BoundedSemaphore(self.max_connections)
        super().__init__(("127.0.0.1", port), Handler)
        # A page that rebinds its domain to 127.0.0.1 still sends that domain as
        # its Host. The app names the port; every other client can too.
        self.own_hosts = {f"{name}:{self.server_address[1]}" for name in ("127.0.0.1", "localhost")}

    def process_request(self, request, client_address):
        if not self._slots.acquire(blocking=False):
            self._refuse_busy(request)
            self.shutdown_request(request)
            return
        try:
            super().process_request(request, client_address)
        except BaseException:
            self._slots.release()
            raise

    def process_request_thread(self, request, client_address):
        try:
            super().process_request_thread(request, client_address)
        finally:
            self._slots.release()

    @staticmethod
    def _refuse_busy(request):
        # Runs on the accepting thread, so it must never wait on the client.
        try:
            request.settimeout(0)
            request.sendall(BUSY_REPLY)
            # A request left unread would turn the close into a reset that
            # can destroy the reply before the client reads it.
            request.recv(65536)
        except OSError:
            pass

    def health(self):
        rec = self.recogniser
        body = {"ready": rec.ready, "model": MODEL_NAME, "polish": True}
        if rec.error:
            body["error"] = rec.error
        return body

    def stop_soon(self):
        # shutdown() waits for serve_forever, so it must not run on its thread.
        threading.Thread(target=self.shutdown, daemon=True).start()


class _DeadlineReader(io.RawIOBase):
    """The handler's socket reads, each waiting no longer than its deadline allows."""

    def __init__(self, sock, handler):
        super().__init__()
        self._sock, self._handler = sock, handler

    def readable(self):
        return True

    def readinto(self, buffer):
        wait = self._handler.timeout
        deadline = self._handler.deadline
        if deadline is not None:
            wait = min(wait, deadline - time.monotonic())
            if wait <= 0:
                raise TimeoutError("the request did not arrive in time")
        self._sock.settimeout(wait)
        try:
            return self._sock.recv_into(buffer)
        finally:
            self._sock.settimeout(self._handler.timeout)


def media_type(value):
    return value.split(";", 1)[0].strip().lower() if value is not None else None


class Handler(BaseHTTPRequestHandler):
    server_version = "QuendaEngine"
    # One request per connection: a connection ends with its reply, so an error reply never
    # leaves a thread waiting on it, nor a body unread behind it to be taken for a request.
    protocol_version = "HTTP/1.0"
    timeout = 30
    deadline = None
    _unread = 0

    def setup(self):
        super().setup()
        self.rfile.close()
        self.rfile = io.BufferedReader(_DeadlineReader(self.connection, self))

    def handle_one_request(self):
        self.deadline = time.monotonic() + self.server.request_deadline
        try:
            super().handle_one_request()
        except OSError as e:  # timed out or reset while the request arrived
            self.log_error("Request dropped: %s", e)

    def parse_request(self):
        self.reply_headers = {}
        if not super().parse_request():
            return False
        self._unread = self._content_length()
        refusal = self._refusal()
        if refusal:
            self.send_error(403, refusal)
            return False
        return True

    def _refusal(self):
        # Any web page may send a simple request to 127.0.0.1. Browsers send an
        # Origin with every POST and every request a script makes; the app never does.
        if "Origin" in self.headers:
            return "Requests from web pages are refused."
        hosts = self.headers.get_all("Host") or []
        if len(hosts) != 1 or hosts[0].strip().lower() not in self.server.own_hosts:
            return "The Host must be this engine, 127.0.0.1 with its port."
        if not self.server.access.admits(self.headers.get_all(TOKEN_HEADER) or []):
            return "This engine serves only the program that started it."
        return None

    def do_OPTIONS(self):
        # A preflight asks for cross-origin access, which is never granted.
        self.send_error(403, "Cross-origin requests are refused.")

    def do_GET(self):
        self._answer()

    def do_POST(self):
        self._answer()

    def _answer(self):
        parts = outbound.split_url(self.path)
        method, route, accepted = ROUTES.get(parts.path, (None, None, None))
        if route is None:
            return self.send_error(404, f"No such endpoint: {parts.path}")
        if method != self.command:
            return self.send_error(405, f"{parts.path} takes {method}.")
        try:
            if accepted is not None:
                self._check_content_type(accepted)
            status, body = route(self, parts.query)
            data = json.dumps(body).encode()
        except Failure as f:
            return self.send_error(f.status, str(f))
        except (speech_server.ClientGone, stream.Dropped):
            # Nobody waits for an answer: the upload to the speech server has been cut, or the
            # recording was dropped.
            self.close_connection = True
            return self.log_message("%s cancelled by the program", parts.path)
        except Exception as e:  # a fault of the engine still answers with an ErrorBody
            traceback.print_exc()
            return self.send_error(500, f"Engine failure: {e}")
        try:
            self._send(status, data)
        finally:
            if route is Handler.on_shutdown:
                # Only after the reply, or the process may end before it leaves.
                self.server.stop_soon()

    def _check_content_type(self, accepted):
        # A page's simple request can only be text/plain, a form or multipart.
        types = self.headers.get_all("Content-Type") or [None]
        if len(types) != 1 or media_type(types[0]) not in accepted:
            names = " or ".join(sorted(t for t in accepted if t))
            none = "no Content-Type or " if None in accepted else ""
            raise Failure(415, f"Send {none}Content-Type {names}.")

    # -- replies ------------------------------------------------------------

    def reply(self, status, body):
        self._send(status, json.dumps(body).encode())

    def _send(self, status, data):
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        for name, value in getattr(self, "reply_headers", {}).items():
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(data)

    def send_error(self, code, message=None, explain=None):
        # Every failure, the base class's own included, leaves as an ErrorBody.
        text = message or self.responses.get(code, ("Error",))[0]
        try:
            self.reply(code, {"error": text})
        finally:
            self._drain()

    def _drain(self):
        # Reading what the client still sends lets it see the reply instead
        # of a reset connection. A client that has stopped sending waits for
        # the close and must not hold its thread until the time-out.
        left = min(self._unread, DRAIN_CAP)
        self._unread = 0
        if left <= 0:
            return
        self.timeout = DRAIN_PAUSE
        try:
            self.connection.shutdown(socket.SHUT_WR)
            while left > 0:
                chunk = self.rfile.read1(min(left, 65536))
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
        try:
            data = self.rfile.read(length)
        except TimeoutError:
            raise Failure(408, "The body did not arrive in time.") from None
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

    def on_health(self, query):
        proof = self.server.access.proof(self.headers.get_all(CHALLENGE_HEADER) or [])
        if proof:
            self.reply_headers[PROOF_HEADER] = proof
        return 200, self.server.health()

    def on_warmup(self, query):
        self.read_body(MAX_EMPTY_BYTES, required=False)
        self.server.recogniser.start_loading()
        return 200, self.server.health()

    def on_shutdown(self, query):
        self.read_body(MAX_EMPTY_BYTES, required=False)
        return 200, {"ok": True}

    def on_transcribe(self, query):
        wav = self.read_body(self.server.max_wav_bytes)
        params = urllib.parse.parse_qs(query, keep_blank_values=True)
        language, server, model = (params.get(name, [""])[0]
                                   for name in ("language", "server", "model"))
        dictionary = config.load_dictionary(config.support_dir())
        target = SpeechServer(server, model, self._speech_key(), self.connection) \
            if server.strip() else None
        return 200, transcription.transcribe(wav, language, target, self.server.recogniser,
                                             dictionary)

    def on_speech_check(self, query):
        body = self.read_json(SPEECH_CHECK_KEYS, set(SPEECH_CHECK_KEYS))
        silence = bytes(int(CHECK_SECONDS * BYTES_PER_SECOND))
        try:
            heard = speech_server.transcribe(
                body["baseURL"], body["model"], body["apiKey"].strip(), wav_of(silence), "auto", "",
                speech_server.wait_for(CHECK_SECONDS), self.connection)
        except speech_server.ServerError as e:
            raise Failure(502, str(e)) from None
        # Silence may well come back empty, or as a word the model makes up; either is an answer.
        return 200, {"text": heard}

    def _speech_key(self):
        keys = self.headers.get_all(SPEECH_KEY_HEADER) or []
        if len(keys) > 1:
            raise Failure(400, f"Send one {SPEECH_KEY_HEADER} at most.")
        return keys[0].strip() if keys else ""

    def on_polish(self, query):
        body = self.read_json(POLISH_KEYS, {"raw"})
        for i, ep in enumerate(body.get("endpoints", [])):
            check_types(ep, ENDPOINT_KEYS, {"model", "baseURL", "kind"}, f"endpoints[{i}].")
        return 200, {"text": self.server.polisher.polish(body)}

    def on_correction_model(self, query):
        body = self.read_json({"apiKey": str, "baseURL": str}, {"apiKey", "baseURL"})
        base = body["baseURL"].strip()
        try:
            outbound.checked_url(base)
        except outbound.Unusable as e:
            raise Failure(400, str(e)) from None
        try:
            return 200, self.server.polisher.correction_model(base, body["apiKey"].strip())
        except providers.ProviderError as e:
            raise Failure(502, f"The model list of {base} could not be read: {e}") from None


# Path: (method, handler, accepted media types or None for any); a None among the
# types stands for no Content-Type, as the app sends with no body.
ROUTES = {
    "/health": ("GET", Handler.on_health, None),
    "/warmup": ("POST", Handler.on_warmup, {None, JSON}),
    "/shutdown": ("POST", Handler.on_shutdown, {None, JSON}),
    "/transcribe": ("POST", Handler.on_transcribe, {AUDIO}),
    "/stream": ("POST", stream.on_stream, {AUDIO}),
    "/polish": ("POST", Handler.on_polish, {JSON}),
    "/correction-model": ("POST", Handler.on_correction_model, {JSON}),
    "/speech-check": ("POST", Handler.on_speech_check, {JSON}),
}
