#pragma once

#include "core/base/clock.h"
#include "platform/key_synthesizer.h"

#include <QObject>

#include <deque>

// Posts chords through another synthesizer and keeps count of their letters still on the way. A
// key source on the same display reports the letter of our own paste or copy as it reports the
// user's typing; the hotkey monitor claims those here, so they never pass for the user's keys.
class OwnChords final : public QObject, public KeySynthesizer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OwnChords)

public:
    // How long after its chord was posted a letter may still reach the key source.
    static constexpr int arrivalMs = 500;
    // A chord that never answers (its context went first) is forgotten after this.
    static constexpr int unansweredMs = 2000;

    OwnChords(KeySynthesizer& keys, Clock& clock, QObject* parent = nullptr);

    void post(Chord chord, Target target, QObject* context, Done done) override;
    // Whether a press of an ordinary key just reported is the letter of one of our chords; each
    // letter is claimed once.
    bool claim();
    // Whether one of our chords is under way or its keys may still be arriving: a press of a
    // modifier now is the chord's Control or Shift, not the user's.
    bool striking();

private:
    struct Letter {
        quint64 id = 0;
        qint64 dueByMs = 0;
    };

    void dropExpired();

    KeySynthesizer& m_keys;
    Clock& m_clock;
    std::deque<Letter> m_letters;
    quint64 m_lastId = 0;
};
