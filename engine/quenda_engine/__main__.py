"""Entry point: python -u -m quenda_engine [--self-check]."""

import signal
import sys
import threading

from . import config
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


def main(argv):
    if argv == ["--self-check"]:
        return self_check()
    if argv:
        print("usage: python -m quenda_engine [--self-check]", file=sys.stderr)
        return 2
    support = config.support_dir()
    port = config.load_port(support)
    recogniser = Recogniser()
    recogniser.start_loading()
    try:
        server = EngineServer(port, recogniser)
    except OSError as e:
        print(f"cannot serve on 127.0.0.1:{port}: {e}", file=sys.stderr)
        return 1

    def stop(signum, frame):
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    print(f"engine serving on 127.0.0.1:{port} (support folder {support})", file=sys.stderr)
    try:
        server.serve_forever()
    finally:
        server.server_close()
    print("engine stopped", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
