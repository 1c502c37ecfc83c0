import json
import os
import pty
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest
from pathlib import Path

from quenda_engine import config

from .helpers import SECRET, request

ENGINE = Path(__file__).resolve().parent.parent


class SetupAndLaunchTest(unittest.TestCase):
    def setUp(self):
        self.tmp = Path(self.enterContext(tempfile.TemporaryDirectory()))
        self.support = self.tmp / "Morvane Quenda"  # a blank, as in the real path

    def free_port(self):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        self.support.mkdir(exist_ok=True)
        (self.support / "config.json").write_text(json.dumps({"port": port}))
        return port

    def launch(self, command, cwd, secret=SECRET, **options):
        """The engine as the supervisor starts it, the secret written to its standard input."""
        env = dict(os.environ, PYTHONUNBUFFERED="1", PYTHONDONTWRITEBYTECODE="1",
                   QUENDA_SUPPORT=str(self.support))
        engine = subprocess.Popen(command, cwd=cwd, env=env, stdin=subprocess.PIPE, **options)
        self.addCleanup(engine.kill)
        engine.stdin.write(secret)
        engine.stdin.close()
        return engine

    def setup_engine(self, source):
        return subprocess.run(["/bin/bash", ENGINE / "setup_engine.sh", source, self.support,
                               "1.2.3"], capture_output=True, text=True, timeout=120)

    def test_port_comes_from_config_json_where_the_app_reads_it(self):
        self.support.mkdir()
        self.assertEqual(17321, config.load_port(self.support))
        endpoint = '{"port": 4000, "correctionEndpoints": [{"id": "3F2504E0-4F89-11D3-9A0C-' \
                   '0305E82C3301", "kind": "custom", "model": "m", "baseURL": "", "enabled": %s}]}'
        # The app takes its defaults, port included, for a file with any wrongly typed key.
        for content, port in (('{"port": 4000.0}', 4000), ('{"port": "4000"}', 17321),
                              ('{"port": 0}', 17321), ('{"port": 4000, "widgetX": NaN}', 17321),
                              (endpoint % "true", 4000), (endpoint % "null", 17321)):
            (self.support / "config.json").write_text(content)
            self.assertEqual(port, config.load_port(self.support), content)

    def test_a_failing_self_check_fails_the_setup_and_leaves_no_stamp(self):
        module = self.tmp / "app resources" / "quenda_engine"
        module.mkdir(parents=True)
        (module / "__main__.py").write_text("raise SystemExit(3)\n")
        self.support.mkdir()
        (self.support / "engine.version").write_text("1.2.3")
        self.assertNotEqual(0, self.setup_engine(module.parent).returncode)
        self.assertFalse((self.support / "engine.version").exists())

    def test_setup_then_launch_as_the_supervisor_does(self):
        result = self.setup_engine(ENGINE)
        self.assertEqual(0, result.returncode, result.stdout + result.stderr)
        self.assertEqual("1.2.3\n", (self.support / "engine.version").read_text())
        port = self.free_port()
        engine = self.launch([self.support / ".venv/bin/python", "-u", "-m", "quenda_engine"],
                             self.support, stderr=subprocess.DEVNULL)
        for _ in range(200):
            try:
                self.assertIn("ready", request(port, "GET", "/health")[1])
                break
            except OSError:
                time.sleep(0.05)
        else:
            self.fail("the engine never answered /health")
        engine.send_signal(signal.SIGTERM)
        self.assertEqual(0, engine.wait(10))

    def test_shutdown_replies_before_the_engine_exits(self):
        port = self.free_port()
        engine = self.launch([sys.executable, "-m", "quenda_engine"], ENGINE,
                             stderr=subprocess.PIPE, text=False)
        self.addCleanup(engine.stderr.close)
        # The engine says so once it listens; the timer keeps a silent one from hanging the test.
        guard = threading.Timer(30, engine.kill)
        guard.start()
        self.addCleanup(guard.cancel)
        for line in engine.stderr:
            if line.startswith(b"engine serving on"):
                break
        else:
            self.fail("the engine never served")
        self.assertEqual((200, {"ok": True}), request(port, "POST", "/shutdown"))
        self.assertEqual(0, engine.wait(10))

    def test_without_the_secret_the_engine_does_not_serve(self):
        self.free_port()
        for case, secret in (("nothing", b""), ("too short", b"5ec7e7" * 5), ("blanks", b" \n")):
            with self.subTest(case):
                engine = self.launch([sys.executable, "-m", "quenda_engine"], ENGINE, secret,
                                     stderr=subprocess.PIPE)
                self.assertEqual(2, engine.wait(10))
                self.assertIn(b"no secret", engine.stderr.read())
                engine.stderr.close()
        # Started by hand from a terminal it says so at once instead of waiting for input.
        controller, terminal = pty.openpty()
        self.addCleanup(os.close, controller)
        with open(terminal, "rb") as stdin:
            engine = subprocess.run([sys.executable, "-m", "quenda_engine"], cwd=ENGINE, stdin=stdin,
                                    env=dict(os.environ, QUENDA_SUPPORT=str(self.support)),
                                    capture_output=True, timeout=10)
        self.assertEqual(2, engine.returncode)
        self.assertIn(b"no secret", engine.stderr)

    def test_an_engine_whose_program_was_killed_ends(self):
        # The program stands in as a shell that sets no parent-death signal: only the engine's own
        # watch of its parent can end it. The engine shares the shell's standard error, whose end
        # is the engine's end.
        port = self.free_port()
        (self.tmp / "secret").write_bytes(SECRET)
        program = self.launch(["/bin/sh", "-c", '"$0" -m quenda_engine <"$1" & echo $!; wait',
                               sys.executable, self.tmp / "secret"], ENGINE,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.addCleanup(program.stderr.close)
        engine = int(program.stdout.readline())
        program.stdout.close()
        guard = threading.Timer(30, os.kill, (engine, signal.SIGKILL))
        guard.start()
        self.addCleanup(guard.cancel)
        for line in program.stderr:
            if line.startswith(b"engine serving on"):
                break
        self.assertEqual(200, request(port, "GET", "/health")[0], "the engine left its program")
        program.kill()
        program.wait()
        said = program.stderr.read()
        self.assertTrue(guard.is_alive(), "the engine outlived its program")
        self.assertIn(b"engine stopped", said)
