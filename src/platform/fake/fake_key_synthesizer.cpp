#include "platform/fake/fake_key_synthesizer.h"

#include "core/base/guarded_reply.h"

FakeKeySynthesizer::FakeKeySynthesizer(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
{
}

void FakeKeySynthesizer::post(Chord chord, Target target, QObject* context, Done done)
{
    m_clock.singleShot(
        m_waitMs, this,
        [this, chord, target, reply = GuardedReply<const Outcome&>(context, std::move(done))] {
            if (!reply.context())
                return;
            if (chord == Chord::Copy && target != Target::Application) {
                reply(Failure{Failure::Reason::TerminalCopyRefused, QStringLiteral("copy into a terminal")});
                return;
            }
            if (m_failure) {
                reply(Failure{*m_failure, QStringLiteral("injected")});
                return;
            }
            m_posted.append({chord, target});
            emit chordPosted(chord, target);
            reply(Posted{});
        });
}
