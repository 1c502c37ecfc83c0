"""Entry point: python -u -m quenda_engine [--self-check]. The program that starts the engine
writes its secret to the engine's standard input and closes it."""

import os
import select
import signal
import sys
import threading
import time

from . import config
from .access import Access, read_secret
from .cleanup import clean_up
from .recogniser import Recogniser
from .server import EngineServer


def self_check():
    """Run by the setup script: the installed module imports and works.
    Missing speech packages are no setup failure; /health reports them."""
    if clean_up("hello , world. this is cube cuttle", "cube cuttle -> kubectl") != \
            "Hello, world. This is kubectl.":
        print("self-check failed: the clean-up gives a wrong result", file=sys.stderr)
        return 1
    rec = Recogniser()
    rec.start_loading()
    rec.wait_loaded(60)
    print("self-check ok; speech recognition " + ("ready" if rec.ready else f"not ready: {rec.error}"))
    return 0


def wait_for_end(pid):
    """Returns once the process `pid`, the engine's parent, has ended."""
    try:
        fd = os.pidfd_open(pid)
    except OSError:  # a kernel without pidfds: ask once a second
        while os.getppid() == pid:
            time.sleep(1)
        return
    try:
        # A parent gone before the pidfd was opened has handed the engine on already.
        if os.getppid() == pid:
            select.select([fd], [], [])
    finally:
        os.close(fd)


def watch_parent(on_end):
    """The second line behind the parent-death signal the program sets: an engine whose program
    has ended, however it ended, must not hold the port and the microphone's words for nobody."""
    parent = os.getppid()

    def watch():
        wait_for_end(parent)
        print("the program that started the engine has ended", file=sys.stderr)
        on_end()

    threading.Thread(target=watch, name="parent-watch", daemon=True).start()


def main(argv):
    if argv == ["--self-check"]:
        return self_check()
    if argv:
        print("usage: python -m quenda_engine [--self-check]", file=sys.stderr)
        return 2
    secret = read_secret(sys.stdin.buffer)
    if secret is None:
        print("no secret on standard input: the engine serves only the program that starts it",
              file=sys.stderr)
        return 2
    support = config.support_dir()
    port = config.load_port(support)
    recogniser = Recogniser()
    recogniser.start_loading()
    try:
        server = EngineServer(port, recogniser, Access(secret))
    except OSError as e:
        print(f"cannot serve on 127.0.0.1:{port}: {e}", file=sys.stderr)
        return 1

    def stop(*args):
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    watch_parent(stop)
    print(f"engine serving on 127.0.0.1:{port} (support folder {support})", file=sys.stderr)
    try:
        server.serve_forever()
    finally:
        server.server_close()
    print("engine stopped", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
