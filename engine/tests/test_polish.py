import socket

from .helpers import EngineCase, FakeProvider


class PolishTest(EngineCase):
    def setUp(self):
        super().setUp()
        self.fake = FakeProvider.start(["text-embedding-3-small", "gpt-4o", "gpt-4o-mini"])
        self.addCleanup(self.fake.server_close)
        self.addCleanup(self.fake.shutdown)

    def polish(self, endpoints=(), provider="openai", **extra):
        return self.call("POST", "/polish", {
            "raw": "hello  there ,you", "style": "auto", "instructions": "", "provider": provider,
            "dictionary": "there -> Theresa", "endpoints": list(endpoints), "noteAnswer": False,
            **extra})

    def endpoint(self, mode, kind="custom", model="m1", key="sk-test"):
        with socket.socket() as s:  # a port nobody listens on
            s.bind(("127.0.0.1", 0))
            port = self.fake.server_address[1] if mode != "closed" else s.getsockname()[1]
        return {"model": model, "apiKey": key, "kind": kind,
                "baseURL": f"http://127.0.0.1:{port}/{mode}/v1"}

    def test_falls_through_to_the_first_endpoint_that_answers(self):
        eps = [self.endpoint("closed"), self.endpoint("fail"), self.endpoint("ok", "chatgpt")]
        self.assertEqual((200, {"text": "fixed by m1"}), self.polish(eps))
        path, headers, body = self.fake.seen[-1]
        self.assertEqual(("/ok/v1/chat/completions", "Bearer sk-test"),
                         (path, headers["Authorization"]))
        self.assertEqual(["system", "user"], [m["role"] for m in body["messages"]])
        self.assertEqual("hello  there ,you", body["messages"][1]["content"])
        self.assertIn("Theresa", body["messages"][0]["content"])

    def test_claude_uses_the_messages_api(self):
        self.assertEqual("claude says hi",
                         self.polish([self.endpoint("ok", "claude", key="ak")])[1]["text"])
        path, headers, body = self.fake.seen[-1]
        self.assertEqual(("/ok/v1/messages", "ak", "2023-06-01", None),
                         (path, headers["x-api-key"], headers["anthropic-version"],
                          headers["Authorization"]))
        self.assertIn("system", body)

    def test_auto_model_comes_from_the_model_list_once(self):
        for _ in range(2):
            reply = self.polish([self.endpoint("ok", model="auto")])
            self.assertEqual("fixed by gpt-4o-mini", reply[1]["text"])
        self.assertEqual(1, sum(path.endswith("/models") for path, _, _ in self.fake.seen))

    def test_without_an_answer_only_a_dictation_is_cleaned_up_locally(self):
        cleaned = (200, {"text": "Hello Theresa, you"})
        self.assertEqual(cleaned, self.polish([self.endpoint("fail")], provider="local"))
        self.assertEqual([], self.fake.seen, "the local provider sent text out")
        self.assertEqual(cleaned, self.polish([self.endpoint("fail")]))
        for extra in ({"selection": "x"}, {"targetLanguage": "fr", "selection": "x"},
                      {"noteAnswer": True}):
            self.assertFails(502, self.polish([self.endpoint("fail")], **extra), "500")
            self.assertFails(503, self.polish(**extra))

    def test_correction_model(self):
        body = {"apiKey": " sk-test ", "baseURL": self.endpoint("ok")["baseURL"] + "/"}
        self.assertEqual((200, {"model": "gpt-4o-mini", "models": self.fake.models}),
                         self.call("POST", "/correction-model", body))
        self.assertEqual("Bearer sk-test", self.fake.seen[-1][1]["Authorization"])
        body["baseURL"] = self.endpoint("denied")["baseURL"]
        self.assertFails(502, self.call("POST", "/correction-model", body), "denied by fake")
