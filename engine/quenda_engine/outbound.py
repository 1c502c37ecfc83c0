"""What the engine sends out, to a speech server or to a correction provider, checked in one
place: an http(s) address with a host, and a key that can ride in a header."""

import urllib.parse


class Unusable(ValueError):
    """The address or the key cannot make a request; the message says which."""


def split_url(url):
    try:
        return urllib.parse.urlsplit(url)
    except ValueError:  # "http://[::1/v1" and the like
        return urllib.parse.urlsplit("")


def checked_url(url):
    """The parts of `url`, which must be http(s) with a host."""
    parts = split_url(url)
    if parts.scheme not in ("http", "https") or not parts.hostname:
        raise Unusable(f"\"{url}\" is not an http or https address.")
    return parts


class Request:
    """A request to `route` under `base_url` with `key`, both checked: raises Unusable."""

    def __init__(self, base_url, key, route=""):
        self.parts = checked_url(base_url.strip())
        if "\r" in key or "\n" in key or not key.isascii():
            # http.client would quote the whole header, key included, in its error.
            raise Unusable("The key holds characters a request cannot carry.")
        self.key = key
        self.host = self.parts.hostname
        # A base that ends in "/" must not give "//audio": servers route that nowhere.
        path = self.parts.path.rstrip("/") + route
        self.target = path + (f"?{self.parts.query}" if self.parts.query else "")
        self.url = urllib.parse.urlunsplit(self.parts._replace(path=path, fragment=""))

    def hide_key(self, text):
        """`text` with the key blanked out, as a server may quote it."""
        return text.replace(self.key, "***") if self.key else text
