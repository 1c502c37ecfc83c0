"""Where the engine finds its support folder and which port it serves on."""

import json
import os
import sys
from pathlib import Path

DEFAULT_PORT = 17321
APP_FOLDER = "Morvane Quenda"


def support_dir():
    # The supervisor always sets QUENDA_SUPPORT; the XDG path covers a manual start.
    given = os.environ.get("QUENDA_SUPPORT", "").strip()
    if given:
        return Path(given)
    data_home = os.environ.get("XDG_DATA_HOME", "").strip()
    base = Path(data_home) if data_home else Path.home() / ".local" / "share"
    return base / APP_FOLDER


def load_port(support):
    """The "port" of config.json; the app falls back to the default on any
    unreadable file or wrongly typed value, so the engine must do the same
    to stay reachable."""
    try:
        with open(Path(support) / "config.json", "rb") as f:
            data = json.load(f)
    except (OSError, ValueError):
        return DEFAULT_PORT
    if not isinstance(data, dict):
        return DEFAULT_PORT
    port = data.get("port", DEFAULT_PORT)
    if port is None:
        return DEFAULT_PORT
    if isinstance(port, bool) or not isinstance(port, int):
        return DEFAULT_PORT
    if not 1 <= port <= 65535:
        print(f"config.json port {port} is out of range; using {DEFAULT_PORT}",
              file=sys.stderr)
        return DEFAULT_PORT
    return port
