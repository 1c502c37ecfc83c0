import http.client
import json

from quenda_engine.access import Access

from .helpers import ACCESS, SECRET, EngineCase, wav_bytes

POLISH = json.dumps({"raw": "hi", "provider": "local"}).encode()


class AccessTest(EngineCase):
    def send(self, method, path, headers, body=None):
        """Exactly the headers given: no Host or Content-Type is added."""
        conn = http.client.HTTPConnection("127.0.0.1", self.server.server_address[1], timeout=30)
        try:
            conn.putrequest(method, path, skip_host=True, skip_accept_encoding=True)
            for name, value in headers + ([] if body is None else [("Content-Length", len(body))]):
                conn.putheader(name, value)
            conn.endheaders(body)
            reply = conn.getresponse()
            return reply.status, dict(reply.getheaders()), json.loads(reply.read())
        finally:
            conn.close()

    def test_only_the_program_that_started_it_gets_in_not_web_pages(self):
        port = self.server.server_address[1]
        host = ("Host", f"127.0.0.1:{port}")
        token = ("Quenda-Token", ACCESS.token.decode())
        page = ("Origin", "http://page.example")
        chunked = ("Transfer-Encoding", "chunked")
        text, json_, audio = (("Content-Type", t) for t in
                              ("text/plain", "application/json", "application/octet-stream"))
        for case, method, path, headers, body, status in (
                ("a page's simple POST", "POST", "/shutdown", [host, token, page, text], b"x",
                 403),
                ("a sandboxed page", "POST", "/shutdown", [host, token, ("Origin", "null")], None,
                 403),
                ("a page reading", "GET", "/health", [host, token, page], None, 403),
                ("a preflight", "OPTIONS", "/polish",
                 [host, token, page, ("Access-Control-Request-Method", "POST")], None, 403),
                ("OPTIONS without an origin", "OPTIONS", "/polish", [host, token], None, 403),
                ("a rebound domain", "GET", "/health", [("Host", f"page.example:{port}"), token],
                 None, 403),
                ("a Host without the port", "GET", "/health", [("Host", "127.0.0.1"), token],
                 None, 403),
                ("a Host with another port", "GET", "/health",
                 [("Host", f"localhost:{port + 1}"), token], None, 403),
                ("no Host", "GET", "/health", [token], None, 403),
                # Another program on the machine, or a page that guessed the port.
                ("no token", "GET", "/health", [host], None, 403),
                ("no token, audio", "POST", "/transcribe?language=en", [host, audio], wav_bytes(),
                 403),
                ("another engine's token", "POST", "/shutdown",
                 [host, ("Quenda-Token", Access(b"x" * 64).token.decode())], None, 403),
                ("a token cut short", "GET", "/health",
                 [host, ("Quenda-Token", ACCESS.token.decode()[:-1])], None, 403),
                ("the token and another", "GET", "/health",
                 [host, token, ("Quenda-Token", "x")], None, 403),
                ("the secret itself", "GET", "/health",
                 [host, ("Quenda-Token", "5ec7e7" * 11)], None, 403),
                ("two Hosts", "GET", "/health", [host, token, ("Host", "page.example")], None, 403),
                ("JSON as text", "POST", "/polish", [host, token, text], POLISH, 415),
                ("JSON without a type", "POST", "/polish", [host, token], POLISH, 415),
                ("a form", "POST", "/correction-model",
                 [host, token, ("Content-Type", "application/x-www-form-urlencoded")], b"apiKey=x",
                 415),
                ("audio as JSON", "POST", "/transcribe", [host, token, json_], wav_bytes(), 415),
                ("no body as text", "POST", "/shutdown", [host, token, text], None, 415),
                ("no body as multipart", "POST", "/warmup",
                 [host, token, ("Content-Type", "multipart/form-data; boundary=x")], b"", 415),
                # A page can send a chunked body, and a second type a check of the first misses.
                ("a chunked warm-up", "POST", "/warmup", [host, token, chunked], None, 411),
                ("a warm-up with two types", "POST", "/warmup", [host, token, json_, text], b"",
                 415),
                # What the app sends: Qt names 127.0.0.1 and the port, and a custom POST
                # without a body carries no Content-Type.
                ("the app's health poll", "GET", "/health", [host, token], None, 200),
                ("localhost", "GET", "/health", [("Host", f"LOCALHOST:{port}"), token], None,
                 200),
                ("the app's warm-up", "POST", "/warmup", [host, token], b"", 200),
                ("a warm-up without a length", "POST", "/warmup", [host, token], None, 200),
                ("a warm-up as JSON", "POST", "/warmup", [host, token, json_], b"", 200),
                ("JSON with a charset", "POST", "/polish",
                 [host, token, ("Content-Type", "Application/JSON; charset=utf-8")], POLISH, 200),
                ("audio", "POST", "/transcribe?language=en", [host, token, audio], wav_bytes(), 200),
                # Last: a /shutdown let through stops the engine for the rows after it.
                ("a chunked shutdown", "POST", "/shutdown", [host, token, chunked], None, 411),
                ("a shutdown with two types", "POST", "/shutdown", [host, token, json_, json_],
                 None, 415)):
            with self.subTest(case):
                got, headers, reply = self.send(method, path, headers, body)
                self.assertEqual(status, got, reply)
                self.assertEqual(status >= 400, "error" in reply, reply)
                self.assertFalse([h for h in headers if h.lower().startswith("access-control")])
        self.assertEqual(200, self.call("GET", "/health")[0], "a refused /shutdown stopped it")

    def test_health_proves_the_engine_knows_the_secret(self):
        # The fixed vector the program's EngineSecret is held to as well (secret "5ec7e7" * 11):
        # a derivation changed on one side fails a test of that side.
        self.assertEqual(SECRET, b"5ec7e7" * 11)
        self.assertEqual("d4ea290fb0aefc811213696daa74b2179a5ca46e74c55d4e4cecacde46dc27df",
                         ACCESS.token.decode())
        expected = "7d5c5a2c07b8fc5854e39a5559ca0221227193d33434bb49b76ede8b3f2efa43"
        own = [("Host", f"127.0.0.1:{self.server.server_address[1]}"),
               ("Quenda-Token", ACCESS.token.decode())]
        for case, headers, proof in (
                ("a challenge", own + [("Quenda-Challenge", "c4a11e")], expected),
                ("no challenge", own, None),
                ("two challenges", own + [("Quenda-Challenge", "c4a11e")] * 2, None),
                ("a challenge too long", own + [("Quenda-Challenge", "c" * 257)], None),
                ("a challenge without the token", own[:1] + [("Quenda-Challenge", "c4a11e")],
                 None)):
            with self.subTest(case):
                _, replied, _ = self.send("GET", "/health", headers)
                self.assertEqual(proof, replied.get("Quenda-Proof"))
