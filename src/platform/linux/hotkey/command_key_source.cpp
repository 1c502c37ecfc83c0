#include "platform/linux/hotkey/command_key_source.h"

#include <algorithm>

CommandKeySource::CommandKeySource(Clock& clock, std::unique_ptr<KeySource> alongside)
    : m_key(clock, this, RouteKey::lossyHoldLimitMs)
    , m_alongside(std::move(alongside))
{
}

CommandKeySource::~CommandKeySource()
{
    stop();
}

KeySource::Reach CommandKeySource::start(Listener& listener)
{
    m_key.start(listener);
    if (m_alongside)
        m_alongside->start(listener);
    return Reach::Global;
}

void CommandKeySource::stop()
{
    m_key.stop();
    if (m_alongside)
        m_alongside->stop();
}

void CommandKeySource::watch(PhysicalKey key)
{
    m_key.watch(key);
    if (m_alongside)
        m_alongside->watch(key);
}

void CommandKeySource::command(bool pressed, qint64 sentAtMs)
{
    if (!pressed) {
        m_lastReleaseSentAtMs = std::max(m_lastReleaseSentAtMs, sentAtMs);
        m_key.release();
        return;
    }
    m_key.press();
    // Left down, it would be held until the limit.
    if (sentAtMs > 0 && sentAtMs < m_lastReleaseSentAtMs)
        m_key.release();
}
