#pragma once

#include "core/base/result.h"

#include <QObject>
#include <QString>

#include <functional>

// Posts the edit chords that paste into, or copy from, the window with the keyboard focus.
class KeySynthesizer {
public:
    enum class Chord { Paste, Copy };
    // Which paste keys the window takes; the caller knows the window (see AppWindow::terminal).
    // Only an application is ever sent the copy chord.
    enum class Target {
        Application, // Ctrl+V
        Terminal,    // Ctrl+Shift+V
        // Shift+Insert, which text fields read from the clipboard and many terminals from the
        // primary selection: the caller offers the text as both.
        ShiftInsert,
    };

    struct Failure {
        enum class Reason {
            // Copy into anything but an application is never posted: Ctrl+C, and in some
            // terminals Ctrl+Shift+C as well, would interrupt the running command.
            TerminalCopyRefused,
            ModifiersHeld, // the user still held another modifier when the wait ran out
            Unavailable,   // nothing to post with: no X server or no XTest extension
            KeyUnmapped,   // the keyboard map has no key for a letter or modifier of the chord
            PostFailed,    // the server rejected an event
        };
        Reason reason;
        QString detail; // for the log
    };
    struct Posted {
        qint64 waitedMs = 0; // spent waiting for the user's modifiers to come up
    };
    using Outcome = Result<Posted, Failure>;
    using Done = std::function<void(const Outcome&)>;

    virtual ~KeySynthesizer() = default;

    // Posts the chord once the user holds no modifier that would change it, waiting a bounded
    // time. Chords go out in the order asked; one whose context is gone by its turn is dropped.
    // `done` runs once, later, on the caller's thread, never after context is destroyed.
    virtual void post(Chord chord, Target target, QObject* context, Done done) = 0;
};
