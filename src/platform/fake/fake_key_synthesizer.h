#pragma once

#include "core/base/clock.h"
#include "platform/key_synthesizer.h"

#include <QList>
#include <QObject>

#include <optional>

// Answers chords on the clock without a keyboard and records those it posted. What a posted chord
// does is up to whoever listens to chordPosted, such as a test desktop acting on the accessibility fake.
class FakeKeySynthesizer final : public QObject, public KeySynthesizer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeKeySynthesizer)

public:
    struct PostedChord {
        Chord chord;
        Target target;

        friend bool operator==(const PostedChord&, const PostedChord&) = default;
    };

    explicit FakeKeySynthesizer(Clock& clock, QObject* parent = nullptr);

    // Answers once the clock moves by the wait (0 ms unless set), refusing a copy into a terminal as the real
    // one does.
    void post(Chord chord, Target target, QObject* context, Done done) override;

    const QList<PostedChord>& posted() const { return m_posted; }
    // Every later chord fails for this reason; nullopt lets them through again.
    void setFailure(std::optional<Failure::Reason> reason) { m_failure = reason; }
    // Later chords go out this long after they were asked for, as while the user holds a modifier.
    void setWaitMs(int ms) { m_waitMs = ms; }

signals:
    void chordPosted(KeySynthesizer::Chord chord, KeySynthesizer::Target target);

private:
    Clock& m_clock;
    QList<PostedChord> m_posted;
    std::optional<Failure::Reason> m_failure;
    int m_waitMs = 0;
};
