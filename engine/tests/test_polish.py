import contextlib
import io
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from unittest import mock

from quenda_engine.server import Handler

from .helpers import EngineCase, FakeProvider, serve


class PolishTest(EngineCase):
    def setUp(self):
        super().setUp()
        self.fake = serve(self, ThreadingHTTPServer(("127.0.0.1", 0), FakeProvider))
        self.fake.seen, self.fake.models = [], ["text-embedding-3-small", "gpt-4o", "gpt-4o-mini"]

    def polish(self, endpoints=(), provider="openai", **extra):
        return self.call("POST", "/polish", {
            "raw": "hello  there ,you", "style": "auto", "instructions": "", "provider": provider,
            "dictionary": "there -> Theresa", "endpoints": list(endpoints), "noteAnswer": False,
            **extra})

    def endpoint(self, mode, kind="custom", model="m1", key="sk-test"):
        return {"model": model, "apiKey": key, "kind": kind,
                "baseURL": f"http://127.0.0.1:{self.fake.server_address[1]}/{mode}/v1"}

    def test_falls_through_every_broken_endpoint_to_the_first_that_answers(self):
        ok = self.endpoint("ok", "chatgpt")
        # Port 1 is privileged and unused: the connection is refused.
        urls = ("http://127.0.0.1:1/v1", "http://[::1/v1", "http://127.0.0.1:port/v1",
                ok["baseURL"] + " x")
        broken = [self.endpoint("fail"), self.endpoint("garbage"), self.endpoint("moved"),
                  self.endpoint("garbage", "claude"), dict(ok, apiKey="sk-\nx"),
                  dict(ok, apiKey="sk-€"), *(dict(ok, baseURL=url) for url in urls)]
        self.assertEqual((200, {"text": "fixed by m1"}), self.polish(broken + [ok]))
        # A redirect would carry the key elsewhere, so it is a failure, never followed.
        self.assertFalse(any(seen[0].startswith("/leak") for seen in self.fake.seen))
        path, headers, body = self.fake.seen[-1]
        (system, user), raw = body["messages"], "hello  there ,you"
        self.assertEqual(("/ok/v1/chat/completions", "Bearer sk-test", "system", "user", raw, True),
                         (path, headers["Authorization"], system["role"], user["role"],
                          user["content"], "Theresa" in system["content"]))

    def test_claude_uses_the_messages_api_and_auto_asks_the_model_list_once(self):
        self.assertEqual("claude says hi",
                         self.polish([self.endpoint("ok", "claude", key="ak")])[1]["text"])
        path, headers, body = self.fake.seen[-1]
        self.assertEqual(("/ok/v1/messages", "ak", "2023-06-01", None, True),
                         (path, headers["x-api-key"], headers["anthropic-version"],
                          headers["Authorization"], "system" in body))
        for _ in range(2):
            reply = self.polish([self.endpoint("ok", model="auto")])
            self.assertEqual("fixed by gpt-4o-mini", reply[1]["text"])
        self.assertEqual(1, sum(path.endswith("/models") for path, _, _ in self.fake.seen))

    def test_without_an_answer_only_a_dictation_is_cleaned_up_locally(self):
        cleaned = (200, {"text": "Hello Theresa, you."})
        self.assertEqual(cleaned, self.polish([self.endpoint("fail")], provider="local"))
        self.assertEqual([], self.fake.seen, "the local provider sent text out")
        self.assertEqual(cleaned, self.polish([self.endpoint("fail")]))
        for extra in ({"selection": "x"}, {"targetLanguage": "fr", "selection": "x"},
                      {"noteAnswer": True}):
            self.assertFails(502, self.polish([self.endpoint("fail")], **extra), "500")
            self.assertFails(503, self.polish(**extra))

    def test_correction_model_and_a_refusal_without_the_key(self):
        body = {"apiKey": " sk-test ", "baseURL": self.endpoint("ok")["baseURL"] + "/"}
        self.assertEqual((200, {"model": "gpt-4o-mini", "models": self.fake.models}),
                         self.call("POST", "/correction-model", body))
        self.assertEqual("Bearer sk-test", self.fake.seen[-1][1]["Authorization"])
        body["baseURL"] = self.endpoint("denied")["baseURL"]
        error = self.assertFails(502, self.call("POST", "/correction-model", body), "Bearer ***")
        self.assertNotIn("sk-test", error)

    def test_provider_keys_never_reach_the_log(self):
        # engine.log is the engine's stdout and stderr, request lines included.
        self.enterContext(mock.patch.object(Handler, "log_message",
                                            BaseHTTPRequestHandler.log_message))
        log = io.StringIO()
        for case, key, secrets in (("plain", "sk-PLAIN1", ["PLAIN1"]),
                                   ("newline", "sk-LINE2\nLINE3", ["LINE2", "LINE3"]),
                                   ("non-ASCII", "sk-ASCII4€", ["ASCII4"]),
                                   ("Latin-1", "sk-LATIN5é", ["LATIN5"]),
                                   ("control character", "sk-CONTROL6\x01", ["CONTROL6"])):
            with self.subTest(case), contextlib.redirect_stderr(log), \
                    contextlib.redirect_stdout(log):
                failing = [self.endpoint(mode, kind, key=key) for mode, kind in
                           (("fail", "custom"), ("garbage", "custom"), ("moved", "custom"),
                            ("fail", "claude"))]
                self.assertEqual(200, self.polish(failing)[0])
                self.assertEqual(502, self.call("POST", "/correction-model", {
                    "apiKey": key, "baseURL": self.endpoint("denied")["baseURL"]})[0])
                for secret in secrets:
                    self.assertNotIn(secret, log.getvalue())
        self.assertIn("polish: custom", log.getvalue(), "nothing was logged to look at")

    def test_what_each_kind_of_request_asks_the_provider(self):
        email = "The text goes into an e-mail"
        for case, extra, raw, task, hint, asked in (
                ("a dictation", {}, "hi", "You correct dictated text", True, True),
                ("an empty dictation", {}, " \n", None, False, False),
                ("a command", {"selection": "x"}, "shorter", "Carry out the instruction", False,
                 True),
                # Said with nothing heard, a command still goes to the provider, which may answer.
                ("an empty command", {"selection": "x"}, " ", "Carry out the instruction", False,
                 True),
                ("a note", {"noteAnswer": True}, "hi", "body of a note", False, True),
                ("a translation", {"targetLanguage": "fr"}, "hi", "with the code fr", False, True),
                ("a translation with no code", {"targetLanguage": ""}, "hi", "Translate", False,
                 True)):
            with self.subTest(case):
                self.fake.seen.clear()
                status, reply = self.polish([self.endpoint("ok")], raw=raw, style="email", **extra)
                self.assertEqual(200, status, reply)
                self.assertEqual(asked, bool(self.fake.seen))
                if not asked:
                    self.assertEqual("", reply["text"])
                    continue
                system = self.fake.seen[-1][2]["messages"][0]["content"]
                self.assertIn(task, system)
                self.assertEqual(hint, email in system)
