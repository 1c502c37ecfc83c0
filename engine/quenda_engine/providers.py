"""Calls to correction providers: OpenAI-compatible chat completions and the
Anthropic messages API."""

import http.client
import json
import re
import urllib.error
import urllib.request

from .outbound import Request, Unusable, split_url

ANTHROPIC_VERSION = "2023-06-01"
MAX_REPLY_BYTES = 8 * 1024 * 1024
LOOPBACK_HOSTS = ("127.0.0.1", "localhost", "::1")

# Models a correction has no use for; an OpenAI model list is full of them.
NOT_CHAT = re.compile(r"embed|whisper|tts|dall-e|image|moderation|audio|realtime|"
                      r"transcribe|search|computer-use|codex", re.IGNORECASE)
# Small fast models suit a quick correction best.
PREFERRED = re.compile(r"mini|haiku|flash|small", re.IGNORECASE)


class ProviderError(Exception):
    pass


def is_anthropic(base_url, kind=""):
    host = (split_url(base_url).hostname or "").lower()
    return kind == "claude" or host == "anthropic.com" or host.endswith(".anthropic.com")


def _headers(api_key, anthropic):
    headers = {"Accept": "application/json"}
    if anthropic:
        headers["anthropic-version"] = ANTHROPIC_VERSION
        if api_key:
            headers["x-api-key"] = api_key
    elif api_key:
        headers["Authorization"] = "Bearer " + api_key
    return headers


class _NoRedirect(urllib.request.HTTPRedirectHandler):
    """Providers answer in place; following a redirect would hand the key to another host."""

    def redirect_request(self, req, fp, code, msg, headers, newurl):
        return None


def _request(base_url, route, api_key, anthropic, timeout, payload=None):
    try:
        out = Request(base_url, api_key, route)
    except Unusable as e:
        raise ProviderError(str(e)) from None
    headers = _headers(api_key, anthropic)
    data = None
    if payload is not None:
        data = json.dumps(payload).encode()
        headers["Content-Type"] = "application/json"
    req = urllib.request.Request(out.url, data=data, headers=headers)
    # A proxy from the environment must not swallow a local server.
    handlers = [_NoRedirect()]
    if out.host in LOOPBACK_HOSTS:
        handlers.append(urllib.request.ProxyHandler({}))
    opener = urllib.request.build_opener(*handlers)
    try:
        with opener.open(req, timeout=timeout) as reply:
            body = reply.read(MAX_REPLY_BYTES + 1)
    except urllib.error.HTTPError as e:
        raise ProviderError(f"HTTP {e.code}{_error_detail(e, out)}") from None
    except (urllib.error.URLError, OSError) as e:
        reason = getattr(e, "reason", e)
        raise ProviderError(f"unreachable ({reason})") from None
    except (http.client.HTTPException, ValueError) as e:  # a garbled reply or an unusable URL
        raise ProviderError(f"request failed ({type(e).__name__}: {str(e)[:200]})") from None
    if len(body) > MAX_REPLY_BYTES:
        raise ProviderError("reply too large")
    try:
        return json.loads(body)
    except ValueError:
        raise ProviderError("reply is not JSON") from None


def _error_detail(http_error, out):
    try:
        err = json.loads(http_error.read(65536)).get("error")
        message = err.get("message") if isinstance(err, dict) else err
        if not message:
            return ""
        # Some servers quote the rejected key; it must not reach the log.
        return f": {out.hide_key(str(message))[:200]}"
    except Exception:  # the detail is a courtesy; the status says enough
        return ""


def list_models(base_url, api_key, timeout):
    reply = _request(base_url, "/models", api_key, is_anthropic(base_url), timeout)
    data = reply.get("data") if isinstance(reply, dict) else None
    if not isinstance(data, list):
        raise ProviderError("model list has an unexpected shape")
    return [m["id"] for m in data if isinstance(m, dict) and isinstance(m.get("id"), str)]


def recommend(models):
    chat = [m for m in models if not NOT_CHAT.search(m)] or models
    preferred = [m for m in chat if PREFERRED.search(m)]
    return (preferred or chat)[0] if chat else ""


def chat(base_url, kind, api_key, model, system, user, timeout):
    """The provider's answer text; an empty answer counts as a failure."""
    if is_anthropic(base_url, kind):
        reply = _request(base_url, "/messages", api_key, True, timeout, {
            "model": model, "max_tokens": 4096, "system": system,
            "messages": [{"role": "user", "content": user}]})
        blocks = reply.get("content") if isinstance(reply, dict) else None
        texts = [b.get("text") for b in blocks if isinstance(b, dict)] \
            if isinstance(blocks, list) else []
        text = "".join(t for t in texts if isinstance(t, str))
    else:
        reply = _request(base_url, "/chat/completions", api_key, False, timeout, {
            "model": model,
            "messages": [{"role": "system", "content": system},
                         {"role": "user", "content": user}]})
        try:
            text = reply["choices"][0]["message"]["content"]
        except (KeyError, IndexError, TypeError):
            raise ProviderError("reply has no message content") from None
        if not isinstance(text, str):
            raise ProviderError("reply has no message content")
    if not text.strip():
        raise ProviderError("empty answer")
    return text.strip()
