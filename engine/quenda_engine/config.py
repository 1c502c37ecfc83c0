"""Where the engine finds its support folder and which port it serves on."""

import json
import os
import re
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


def _integer(v):
    # The app reads a JSON number as an integer when it is whole: 4000.0 is 4000.
    return not isinstance(v, bool) and (isinstance(v, int) or (
        isinstance(v, float) and v.is_integer() and abs(v) < 2 ** 63))


_UUID = re.compile(r"[0-9a-fA-F]{8}(-[0-9a-fA-F]{4}){3}-[0-9a-fA-F]{12}")
_STRING, _BOOL = (lambda v: isinstance(v, str)), (lambda v: isinstance(v, bool))


def _records(fields):
    return lambda v: isinstance(v, list) and all(isinstance(r, dict) and all(
        r.get(k) is not None and ok(r[k]) for k, ok in fields.items()) for r in v)


# The keys the app's decoder reads, with the JSON type it demands of each.
APP_KEYS = {
    **dict.fromkeys("""modelPath whisperModel polishProvider openAIModel asrEngine
        correctionBaseURL correctionKind language nativeLanguage style instructions dictionary
        hotkey othersAudio overlayResultSize resultPlacementScreen resultPlacementAnchor
        noteDestination""".split(), _STRING),
    **dict.fromkeys("""didChooseModel correctionFallback showWidget commandMode autoCorrect
        playSounds launchAtLogin onboarded learnEdits widgetFollowActiveScreen
        showDictationPreview resultPlacementFixed""".split(), _BOOL),
    **dict.fromkeys("""asrQuality port widgetDisplayID historyKeepHours historyMaxEntries
        overlayResultDismissSeconds dictationPreviewDismissSeconds""".split(), _integer),
    "widgetX": lambda v: isinstance(v, (int, float)) and not isinstance(v, bool),
    "widgetY": lambda v: isinstance(v, (int, float)) and not isinstance(v, bool),
    "correctionEndpoints": _records({
        "id": lambda v: isinstance(v, str) and bool(_UUID.fullmatch(v.strip("{}"))),
        "kind": _STRING, "model": _STRING, "baseURL": _STRING, "enabled": _BOOL}),
    "appStyles": _records(dict.fromkeys("bundleID name style suggested".split(), _STRING) |
                          {"customized": _BOOL}),
}


def _app_would_decode(data):
    keys = dict(APP_KEYS)
    # Older keys, read only when their newer form gives no answer.
    if data.get("historyKeepHours") is None:
        keys["historyKeepDays"] = _integer
    if data.get("othersAudio") not in ("off", "quiet", "mute"):
        keys["muteOthers"] = _BOOL
    return all(data.get(k) is None or ok(data[k]) for k, ok in keys.items())


def _no_constants(name):
    raise ValueError(f"{name} is not JSON")


def load_port(support):
    """The "port" of config.json. The app uses its defaults, port included, for
    a file it cannot read or in which any key it reads has the wrong JSON
    type, so the engine does the same to be found where the app sends."""
    try:
        with open(Path(support) / "config.json", "rb") as f:
            data = json.loads(f.read(), parse_constant=_no_constants)
    except (OSError, ValueError, RecursionError):
        return DEFAULT_PORT
    if not isinstance(data, dict) or not _app_would_decode(data):
        return DEFAULT_PORT
    port = data.get("port")
    if port is None:
        return DEFAULT_PORT
    port = int(port)
    if not 1 <= port <= 65535:
        print(f"config.json port {port} is out of range; using {DEFAULT_PORT}",
              file=sys.stderr)
        return DEFAULT_PORT
    return port
