#pragma once

#include "core/base/result.h"
#include "platform/key_synthesizer.h"

#include <QList>
#include <QStringList>

#include <variant>

// The keyboard as a key synthesiser sees it: which keys are down, and pressing and releasing the
// few keys the edit chords need.
class SyntheticKeyboard {
public:
    // Control_L, Shift_L, the letters c and v, and Insert.
    enum class Key { Control, Shift, C, V, Insert };
    static constexpr Key keys[] = {Key::Control, Key::Shift, Key::C, Key::V, Key::Insert};

    // The keys down right now; modifiers by the names of their keys, for the log.
    struct State {
        QStringList shift = {};
        QStringList control = {};
        QStringList other = {}; // Alt, Super, AltGr, ...
        QList<Key> down = {};   // the chord keys among them
    };
    using Failure = KeySynthesizer::Failure;
    using Done = Result<std::monostate, Failure>;

    virtual ~SyntheticKeyboard() = default;

    virtual Result<State, Failure> state() = 0;
    Done press(Key key) { return send(key, true); }
    Done release(Key key) { return send(key, false); }

protected:
    virtual Done send(Key key, bool down) = 0;
};
