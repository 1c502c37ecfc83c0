#pragma once

#include "core/base/guarded_reply.h"
#include "platform/update_feed.h"

#include <deque>

// Holds every request until the test answers it, oldest first.
class FakeUpdateFeed final : public UpdateFeed {
public:
    void fetchLatest(QObject* context, std::function<void(const Reply&)> done) override;

    // False when no request waits.
    bool answer(const AppRelease& release);
    bool fail(const QString& error);

private:
    bool finishNext(const Reply& reply);

    std::deque<GuardedReply<const Reply&>> m_waiting;
};
