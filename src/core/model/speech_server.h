#pragma once

#include <QString>

// The user's own speech server: an OpenAI-compatible transcription route under `baseURL` (a
// local Whisper server or a provider), and the model it is asked for.
struct SpeechServer {
    QString baseURL; // trimmed; not checked here, the engine says what is wrong with it
    QString model;

    // The host the recordings go to, for the user's eyes; the text itself when it names none.
    QString host() const;
    // Whether the host is this computer: 127.0.0.0/8, ::1 or localhost.
    bool isLoopback() const;
    // Recordings would cross a network unencrypted: plain http to another computer.
    bool sendsInTheClear() const;

    friend bool operator==(const SpeechServer&, const SpeechServer&) = default;
};

// What a speech server made of a moment of silence sent to check it.
struct SpeechCheck {
    bool answered = false;
    QString text; // what it heard when it answered ("" is a fair answer), else why it did not

    friend bool operator==(const SpeechCheck&, const SpeechCheck&) = default;
};
