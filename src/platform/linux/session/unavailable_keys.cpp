#include "platform/linux/session/unavailable_keys.h"

#include "core/base/guarded_reply.h"

UnavailableKeys::UnavailableKeys(QString reason, QObject* parent)
    : QObject(parent)
    , m_reason(std::move(reason))
{
}

void UnavailableKeys::post(Chord, Target, QObject* context, Done done)
{
    // Later, as the contract asks: the caller may still be setting up what the answer reaches.
    GuardedReply<const Outcome&>(context, std::move(done))
        .post(this, Outcome(Failure{Failure::Reason::Unavailable, m_reason}));
}
