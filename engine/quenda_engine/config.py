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
    # The app reads a JSON number as an integer when it is whole and fits 64 bits: 4000.0 is 4000.
    if isinstance(v, bool):
        return False
    if isinstance(v, int):
        return -2 ** 63 <= v < 2 ** 63
    return isinstance(v, float) and v.is_integer() and -2 ** 63 <= v < 2 ** 63


_UUID = re.compile(r"[0-9a-fA-F]{8}(-[0-9a-fA-F]{4}){3}-[0-9a-fA-F]{12}")


def _uuid(v):
    # The app's UUID reader looks at the first 36 characters, or 38 with braces, and ignores the rest.
    if not isinstance(v, str):
        return False
    if v.startswith("{"):
        return len(v) >= 38 and v[37] == "}" and bool(_UUID.fullmatch(v[1:37]))
    return bool(_UUID.fullmatch(v[:36]))
_STRING, _BOOL = (lambda v: isinstance(v, str)), (lambda v: isinstance(v, bool))


def _records(fields):
    return lambda v: isinstance(v, list) and all(isinstance(r, dict) and all(
        r.get(k) is not None and ok(r[k]) for k, ok in fields.items()) for r in v)


# The keys the app's decoder reads, with the JSON type it demands of each.
APP_KEYS = {
    **dict.fromkeys("""modelPath whisperModel polishProvider openAIModel asrEngine
        correctionBaseURL correctionKind language nativeLanguage style instructions dictionary
        hotkey othersAudio overlayResultSize resultPlacementScreen resultPlacementAnchor
        noteDestination speechBaseURL speechModel""".split(), _STRING),
    **dict.fromkeys("""didChooseModel correctionFallback showWidget commandMode autoCorrect
        playSounds launchAtLogin onboarded learnEdits widgetFollowActiveScreen
        showDictationPreview resultPlacementFixed""".split(), _BOOL),
    **dict.fromkeys("""asrQuality port widgetDisplayID historyKeepHours historyMaxEntries
        overlayResultDismissSeconds dictationPreviewDismissSeconds""".split(), _integer),
    "widgetX": lambda v: isinstance(v, (int, float)) and not isinstance(v, bool),
    "widgetY": lambda v: isinstance(v, (int, float)) and not isinstance(v, bool),
    "correctionEndpoints": _records({
        "id": _uuid,
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


def _finite_float(text):
    value = float(text)
    if value in (float("inf"), float("-inf")):
        raise ValueError(f"{text} is out of range")
    return value


def _finite_int(text):
    # The app's parser reads every number as a double, so an integer past its range spoils the file.
    value = int(text)
    if abs(value) > 1.7976931348623157e308:
        raise ValueError(f"{text} is out of range")
    return value


def app_would_accept(raw):
    """The decoded object of a config.json text when the app would read it, else None. The app
    uses its defaults, port included, for a file it cannot parse or in which any key it reads has
    the wrong JSON type."""
    try:
        # Not strict: the app's parser takes raw control characters inside strings.
        data = json.loads(raw, parse_constant=_no_constants, parse_float=_finite_float,
                          parse_int=_finite_int, strict=False)
    except (ValueError, RecursionError):
        return None
    if not isinstance(data, dict) or not _app_would_decode(data):
        return None
    return data


def load_port(support):
    """The "port" of config.json, read the way the app reads it so that the engine is found
    where the app sends."""
    try:
        with open(Path(support) / "config.json", "rb") as f:
            raw = f.read()
    except OSError:
        return DEFAULT_PORT
    data = app_would_accept(raw)
    if data is None:
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


def load_dictionary(support):
    """The "dictionary" of config.json as the app would read it; empty without one."""
    try:
        with open(Path(support) / "config.json", "rb") as f:
            data = app_would_accept(f.read())
    except OSError:
        return ""
    return (data or {}).get("dictionary") or ""
