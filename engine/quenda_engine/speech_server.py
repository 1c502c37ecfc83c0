"""Transcription by a speech server the user named: the OpenAI-compatible route
<base>/audio/transcriptions, served by local Whisper servers and by providers. The recording goes
to that server and nowhere else."""

import http.client
import json
import select
import socket
import ssl
import threading
import time
import uuid

from .cleanup import parse_dictionary
from .outbound import Request, Unusable, split_url

# The app waits 60 s for /transcribe; what the server leaves of that goes to the built-in
# recogniser, should the server fail.
MAX_WAIT = 50.0
# A server needs a moment for any recording, and longer for a longer one.
BASE_WAIT = 10.0
WAIT_PER_SECOND = 2.0
MAX_REPLY_BYTES = 1024 * 1024
# Whisper reads about 224 tokens of prompt; more is cut off by the server anyway.
MAX_PROMPT = 600
# A server's reason for a failure reaches the program whole; an answer that is no
# transcription is only quoted.
MAX_REASON = 4000
MAX_QUOTE = 200


class ServerError(Exception):
    """The server gave no transcription; the message is ready for the user."""


class ClientGone(Exception):
    """The program that asked went away (Escape, or a newer dictation): the upload was cut."""


def wait_for(seconds):
    """How long the server may take for a recording of that many seconds."""
    return min(MAX_WAIT, BASE_WAIT + WAIT_PER_SECOND * seconds)


def prompt_of(dictionary):
    """The dictionary's terms, each once and in line order, as the hint Whisper reads as words
    that came before the recording."""
    terms = []
    for _, term in parse_dictionary(dictionary):
        if term not in terms:
            terms.append(term)
    prompt = ""
    for term in terms:
        longer = f"{prompt}, {term}" if prompt else term
        if len(longer) > MAX_PROMPT:
            break
        prompt = longer
    return prompt


def host_of(base_url):
    return split_url(base_url.strip()).hostname or base_url.strip()


class _Watch:
    """Cuts an exchange with the server short: when the client that asked closes its connection,
    or at the deadline. Runs beside the exchange, which blocks in its socket calls."""

    def __init__(self, client, deadline):
        self.client, self.deadline = client, deadline
        self.gone = self.late = False
        self._upstream = None
        self._lock = threading.Lock()
        self._wake, self._waker = socket.socketpair()
        self._thread = threading.Thread(target=self._run, name="speech-watch", daemon=True)
        self._thread.start()

    def attach(self, sock):
        with self._lock:
            self._upstream = sock
            if self.gone or self.late:
                self._cut_locked()

    def _cut(self):
        with self._lock:
            self._cut_locked()

    def _cut_locked(self):
        if self._upstream is not None:
            try:
                self._upstream.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def _run(self):
        watched = [self._wake] + ([self.client] if self.client is not None else [])
        while True:
            left = self.deadline - time.monotonic()
            if left <= 0:
                self.late = True
                return self._cut()
            ready = select.select(watched, [], [], left)[0]
            if self._wake in ready:
                return
            if self.client in ready:
                try:
                    still_there = self.client.recv(1, socket.MSG_PEEK)
                except (BlockingIOError, InterruptedError):
                    continue
                except OSError:
                    still_there = b""
                if not still_there:
                    self.gone = True
                    return self._cut()
                # Bytes the app would never send: only the deadline is watched from here.
                watched.remove(self.client)

    def close(self):
        self._waker.send(b"x")
        self._thread.join()
        self._wake.close()
        self._waker.close()


def _multipart(fields, wav):
    """The head and tail around the WAV, as is, in a multipart/form-data body."""
    boundary = "quenda-" + uuid.uuid4().hex
    head = bytearray()
    for name, value in fields:
        head += (f'--{boundary}\r\nContent-Disposition: form-data; name="{name}"\r\n\r\n'
                 f'{value}\r\n').encode()
    head += (f'--{boundary}\r\nContent-Disposition: form-data; name="file"; '
             f'filename="dictation.wav"\r\nContent-Type: audio/wav\r\n\r\n').encode()
    tail = f"\r\n--{boundary}--\r\n".encode()
    return f"multipart/form-data; boundary={boundary}", bytes(head), tail


def server_text(body, key=""):
    """The server's own words about a failure, if it sent any: an OpenAI-style error, a message
    or detail field, or a short plain text. A key it quotes is blanked out."""
    text = ""
    try:
        reply = json.loads(body)
    except ValueError:
        reply = None
        plain = body.decode("utf-8", "replace").strip()
        if not plain.startswith("<"):  # a web server's HTML page says nothing useful in a line
            text = plain
    if isinstance(reply, dict):
        error = reply.get("error")
        if isinstance(error, dict):
            error = error.get("message")
        for candidate in (error, reply.get("message"), reply.get("detail")):
            if isinstance(candidate, str) and candidate.strip():
                text = candidate
                break
    return _one_line(text, key, MAX_REASON)


def _one_line(text, key, limit):
    text = " ".join(text.split())
    if key:
        text = text.replace(key, "***")
    return text[:limit]


def _is_page(body):
    return body.lstrip()[:15].lower().startswith((b"<!doctype html", b"<html"))


def _with_detail(lead, status, detail):
    code = f" ({status})" if status else ""
    return f"{lead}{code}: {detail}" if detail else f"{lead}{code}."


def _fault(host, status, detail, keyed):
    where = f"The speech server at {host}"
    if status in (401, 403):
        lead = f"{where} refused the key" if keyed else f"{where} asks for a key"
    elif status == 429:
        lead = f"{where} takes no more requests for now"
    elif status >= 500:
        lead = f"{where} failed"
    else:
        lead = f"{where} refused the recording"
    return ServerError(_with_detail(lead, status, detail))


def _exchange(out, wav, fields, wait, watch):
    """Status and body of the server's reply; raises OSError or HTTPException on the way."""
    parts = out.parts
    secure = parts.scheme == "https"
    port = parts.port  # a ValueError for a port that is no number
    connection = (http.client.HTTPSConnection(parts.hostname, port, timeout=wait,
                                              context=ssl.create_default_context())
                  if secure else http.client.HTTPConnection(parts.hostname, port, timeout=wait))
    try:
        connection.connect()
        watch.attach(connection.sock)
        content_type, head, tail = _multipart(fields, wav)
        connection.putrequest("POST", out.target, skip_accept_encoding=True)
        connection.putheader("Content-Type", content_type)
        connection.putheader("Content-Length", str(len(head) + len(wav) + len(tail)))
        connection.putheader("Accept", "application/json")
        if out.key:
            connection.putheader("Authorization", "Bearer " + out.key)
        connection.endheaders()
        # In three pieces, so the recording is not copied into one body.
        for piece in (head, wav, tail):
            connection.send(piece)
        reply = connection.getresponse()
        return reply.status, reply.read(MAX_REPLY_BYTES + 1)
    finally:
        connection.close()


def transcribe(base_url, model, key, wav, language, prompt, wait, client=None):
    """The text the server at `base_url` heard in `wav`, "" when it heard nothing. Raises
    ServerError with a message for the user, or ClientGone once `client`, the socket of the
    program that asked, has closed."""
    try:
        out = Request(base_url, key, "/audio/transcriptions")
    except Unusable as e:
        raise ServerError(f"The speech server cannot be asked: {e}") from None
    host = out.host
    fields = [("model", model), ("response_format", "json")]
    if language.strip().lower() not in ("", "auto"):
        fields.append(("language", language.strip()))
    if prompt:
        fields.append(("prompt", prompt))
    late = ServerError(f"The speech server at {host} did not answer within {wait:.0f} s.")
    watch = _Watch(client, time.monotonic() + wait)
    try:
        try:
            status, body = _exchange(out, wav, fields, wait, watch)
        except (OSError, http.client.HTTPException, ValueError) as e:
            if watch.gone:
                raise ClientGone() from None
            if watch.late or isinstance(e, TimeoutError):
                raise late from None
            reason = str(getattr(e, "reason", "") or e or type(e).__name__)
            reason = out.hide_key(reason)
            raise ServerError(f"The speech server at {host} cannot be reached ({reason}).") from None
    finally:
        watch.close()
    # A reply cut short by the watch may still have parsed as one.
    if watch.gone:
        raise ClientGone()
    if watch.late:
        raise late
    if not 200 <= status <= 299:
        raise _fault(host, status, server_text(body[:MAX_REPLY_BYTES], key), bool(key))
    if len(body) > MAX_REPLY_BYTES:
        raise ServerError(f"The speech server at {host} sent an answer too large to be a "
                          f"transcription.")
    try:
        reply = json.loads(body)
    except ValueError:
        reply = None
    text = reply.get("text") if isinstance(reply, dict) else None
    if reply is None and _is_page(body):
        # A web interface at the address instead of its API: its markup would say nothing.
        raise ServerError(f"The speech server at {host} answered with a web page, not a "
                          f"transcription ({out.url}).")
    if not isinstance(text, str):
        detail = _one_line(body.decode("utf-8", "replace"), key, MAX_QUOTE)
        raise ServerError(_with_detail(
            f"The speech server at {host} sent an answer that is no transcription", None,
            detail or "it was empty"))
    return text.strip()
