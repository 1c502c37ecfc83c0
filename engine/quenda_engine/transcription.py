"""Which recogniser writes a dictation's text: the user's speech server first, where one is set,
and the built-in recogniser for English, alone or when the server fails."""

import sys
from dataclasses import dataclass

from . import speech_server
from .cleanup import clean_up, written
from .polish import Failure
from .recogniser import BYTES_PER_SECOND, BadAudio, is_english, read_pcm

# How long a dictation waits for the built-in recogniser to finish loading.
LOAD_WAIT = 30.0


@dataclass(frozen=True)
class SpeechServer:
    """The server the user named; `client` is the asking program's socket, whose close cuts the
    upload."""
    base_url: str
    model: str = ""
    key: str = ""
    client: object = None


def transcribe(wav, language, server, recogniser, dictionary):
    """The answer to a dictation `wav` in `language`: the body of a 200 reply. Raises Failure
    with the status and the message for the program."""
    try:
        pcm = read_pcm(wav)
    except BadAudio as e:
        raise Failure(400, str(e)) from None
    failure = None
    if server is not None:
        try:
            return _by_server(wav, len(pcm) / BYTES_PER_SECOND, language, server, dictionary)
        except speech_server.ServerError as e:
            failure = str(e)
            print(f"speech server: {failure}", file=sys.stderr)
            if not is_english(language):
                raise Failure(502, failure) from None
    else:
        refuse_unless_english(language)
    wait_loaded(recogniser, failure)
    body = built_in(recogniser.transcribe(pcm), dictionary)
    return body | ({"serverError": failure} if failure else {})


def refuse_unless_english(language):
    if not is_english(language):
        raise Failure(422, f"Only English speech recognition is installed; the language "
                           f"\"{language}\" is not available. Choose English or automatic.")


def wait_loaded(recogniser, failure=None):
    """Returns once the built-in recogniser can decode; `failure` is the speech server's."""
    if not recogniser.ready:
        recogniser.start_loading()
        recogniser.wait_loaded(LOAD_WAIT)
        if not recogniser.ready:
            raise Failure(502 if failure else 503,
                          failure or recogniser.error or "Speech recognition is still loading.")


def built_in(heard, dictionary):
    """The answer for what the built-in recogniser heard: written as a person would write it, with
    the user's dictionary, even when no correction provider is set up; "raw" keeps the words as
    the recogniser heard them."""
    return {"text": clean_up(heard, dictionary), "raw": heard, "language": "en",
            "recogniser": "built-in"}


def _by_server(wav, seconds, language, server, dictionary):
    heard = speech_server.transcribe(
        server.base_url, server.model, server.key, wav, language,
        speech_server.prompt_of(dictionary), speech_server.wait_for(seconds), server.client)
    if not heard:
        raise speech_server.ServerError(
            f"The speech server at {speech_server.host_of(server.base_url)} heard nothing.")
    body = {"text": written(heard, dictionary), "raw": heard, "recogniser": "server"}
    return body | ({"language": language} if language not in ("", "auto") else {})
