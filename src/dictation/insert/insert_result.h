#pragma once

#include "core/text/caret_context.h"
#include "platform/key_synthesizer.h"

#include <optional>

// Where an inserted text went.
struct InsertResult {
    enum class Outcome {
        Pasted,          // the paste chord was posted into the focused field
        Written,         // the accessibility service wrote it into the remembered field
        KeptOnClipboard, // left on the clipboard for the user to paste
    };

    Outcome outcome = Outcome::KeptOnClipboard;
    // Why a paste was not posted; absent when there was no access to post one at all.
    std::optional<KeySynthesizer::Failure> failure = {};
    // What stood before the caret where the text went.
    CaretContext caret = {};
    // Kept on the clipboard in place of what the user had copied there, which is gone now.
    bool replacedCopy = false;

    bool inField() const { return outcome != Outcome::KeptOnClipboard; }
};
