#pragma once

#include "core/base/clock.h"
#include "platform/key_synthesizer.h"
#include "platform/linux/keys/synthetic_keyboard.h"

#include "core/base/guarded_reply.h"
#include <QObject>

#include <deque>

// Posts edit chords on a synthetic keyboard, one at a time: waits on the clock until the user
// holds no modifier that would turn the chord into another one, presses the chord's keys and
// releases every key it pressed, whatever failed on the way.
class ChordSynthesizer final : public QObject, public KeySynthesizer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChordSynthesizer)

public:
    // Long enough for the keys of a just released hotkey chord to come up, short enough that a
    // paste still feels immediate.
    static constexpr int defaultWaitMs = 500;
    static constexpr int pollMs = 10;

    ChordSynthesizer(SyntheticKeyboard& keyboard, Clock& clock, int waitMs = defaultWaitMs,
                     QObject* parent = nullptr);

    void post(Chord chord, Target target, QObject* context, Done done) override;

private:
    struct Job {
        Chord chord;
        Target target;
        GuardedReply<const Outcome&> reply;
    };

    void next();
    void poll();
    Outcome strike(const Job& job, const SyntheticKeyboard::State& state) const;
    void finish(const Outcome& outcome);

    SyntheticKeyboard& m_keyboard;
    Clock& m_clock;
    const int m_waitMs;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    qint64 m_turnStartedMs = 0;
};
