#pragma once

#include <QString>

#include <optional>

// What the engine made of a recording.
struct Transcript {
    QString text;  // written as a person would write it
    QString heard; // the words as the recogniser heard them
    // The user's speech server wrote it; otherwise the built-in recogniser did.
    bool byServer = false;
    // Why the speech server gave no text, when the built-in recogniser wrote it in its place.
    std::optional<QString> serverFailure;

    friend bool operator==(const Transcript&, const Transcript&) = default;
};
