#include "platform/fake/fake_key_synthesizer.h"

#include <QPointer>

FakeKeySynthesizer::FakeKeySynthesizer(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
{
}

void FakeKeySynthesizer::post(Chord chord, Target target, QObject* context, Done done)
{
    m_clock.singleShot(
        m_waitMs, this, [this, chord, target, guard = QPointer<QObject>(context), done = std::move(done)] {
            if (!guard)
                return;
            if (chord == Chord::Copy && target == Target::Terminal) {
                done(Failure{Failure::Reason::TerminalCopyRefused, QStringLiteral("copy into a terminal")});
                return;
            }
            if (m_failure) {
                done(Failure{*m_failure, QStringLiteral("injected")});
                return;
            }
            m_posted.append({chord, target});
            emit chordPosted(chord, target);
            done(Posted{});
        });
}
