import http.client
import json

from .helpers import EngineCase, wav_bytes

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

    def test_only_the_app_gets_in_not_web_pages(self):
        port = self.server.server_address[1]
        own = ("Host", f"127.0.0.1:{port}")
        page = ("Origin", "http://page.example")
        text, json_, audio = (("Content-Type", t) for t in
                              ("text/plain", "application/json", "application/octet-stream"))
        for case, method, path, headers, body, status in (
                ("a page's simple POST", "POST", "/shutdown", [own, page, text], b"x", 403),
                ("a sandboxed page", "POST", "/shutdown", [own, ("Origin", "null")], None, 403),
                ("a page reading", "GET", "/health", [own, page], None, 403),
                ("a preflight", "OPTIONS", "/polish",
                 [own, page, ("Access-Control-Request-Method", "POST")], None, 403),
                ("OPTIONS without an origin", "OPTIONS", "/polish", [own], None, 403),
                ("a rebound domain", "GET", "/health", [("Host", f"page.example:{port}")],
                 None, 403),
                ("a Host without the port", "GET", "/health", [("Host", "127.0.0.1")], None, 403),
                ("a Host with another port", "GET", "/health",
                 [("Host", f"localhost:{port + 1}")], None, 403),
                ("no Host", "GET", "/health", [], None, 403),
                ("two Hosts", "GET", "/health", [own, ("Host", "page.example")], None, 403),
                ("JSON as text", "POST", "/polish", [own, text], POLISH, 415),
                ("JSON without a type", "POST", "/polish", [own], POLISH, 415),
                ("a form", "POST", "/correction-model",
                 [own, ("Content-Type", "application/x-www-form-urlencoded")], b"apiKey=x", 415),
                ("audio as JSON", "POST", "/transcribe", [own, json_], wav_bytes(), 415),
                ("no body as text", "POST", "/shutdown", [own, text], None, 415),
                ("no body as multipart", "POST", "/warmup",
                 [own, ("Content-Type", "multipart/form-data; boundary=x")], b"", 415),
                # What the app sends: Qt names 127.0.0.1 and the port, and a custom POST
                # without a body carries no Content-Type.
                ("the app's health poll", "GET", "/health", [own], None, 200),
                ("localhost", "GET", "/health", [("Host", f"LOCALHOST:{port}")], None, 200),
                ("the app's warm-up", "POST", "/warmup", [own], b"", 200),
                ("a warm-up without a length", "POST", "/warmup", [own], None, 200),
                ("a warm-up as JSON", "POST", "/warmup", [own, json_], b"", 200),
                ("JSON with a charset", "POST", "/polish",
                 [own, ("Content-Type", "Application/JSON; charset=utf-8")], POLISH, 200),
                ("audio", "POST", "/transcribe?language=en", [own, audio], wav_bytes(), 200)):
            with self.subTest(case):
                got, headers, reply = self.send(method, path, headers, body)
                self.assertEqual(status, got, reply)
                self.assertEqual(status >= 400, "error" in reply, reply)
                self.assertFalse([h for h in headers if h.lower().startswith("access-control")])
        self.assertEqual(200, self.call("GET", "/health")[0], "a refused /shutdown stopped it")
