#include "platform/fake/fake_update_feed.h"

void FakeUpdateFeed::fetchLatest(QObject* context, std::function<void(const Reply&)> done)
{
    m_waiting.push_back({context, std::move(done)});
}

bool FakeUpdateFeed::answer(const AppRelease& release)
{
    return finishNext({release, {}});
}

bool FakeUpdateFeed::fail(const QString& error)
{
    return finishNext({std::nullopt, error});
}

bool FakeUpdateFeed::finishNext(const Reply& reply)
{
    if (m_waiting.empty())
        return false;
    const GuardedReply<const Reply&> next = std::move(m_waiting.front());
    m_waiting.pop_front();
    next(reply);
    return true;
}
