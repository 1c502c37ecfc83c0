"""Who may use the engine: the program that started it, which hands it a secret on its standard
input. Every request carries a token derived from the secret; /health answers a challenge with a
proof, so the program can tell its own engine from any other listener on the port. Neither
derivation reveals the secret, so a listener that receives them learns nothing it could prove
itself with."""

import hashlib
import hmac

TOKEN_HEADER = "Quenda-Token"
CHALLENGE_HEADER = "Quenda-Challenge"
PROOF_HEADER = "Quenda-Proof"
# The program hands over 64 hex digits; fewer could be guessed.
MIN_SECRET = 32
MAX_SECRET = 4096
MAX_CHALLENGE = 256


def _mac(key, message):
    return hmac.new(key, message, hashlib.sha256).hexdigest().encode()


def _raw(value):
    return value.strip().encode("utf-8", "surrogateescape")


class Access:
    def __init__(self, secret):
        self._secret = secret
        self.token = _mac(secret, b"request")

    def admits(self, tokens):
        """Whether the token headers of a request are exactly one, ours."""
        return len(tokens) == 1 and hmac.compare_digest(_raw(tokens[0]), self.token)

    def proof(self, challenges):
        """The proof for the challenge headers of a /health request; None without exactly one."""
        if len(challenges) != 1 or len(challenges[0]) > MAX_CHALLENGE:
            return None
        return _mac(self._secret, b"health " + _raw(challenges[0])).decode()


def read_secret(stream):
    """The secret on `stream`, read to its end; None for a terminal, or a secret too short or
    too long."""
    if stream.isatty():
        return None
    secret = stream.read(MAX_SECRET + 1).strip()
    return secret if MIN_SECRET <= len(secret) <= MAX_SECRET else None
