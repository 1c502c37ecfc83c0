#include "platform/linux/hotkey/route_key.h"

#include "core/base/timing.h"

RouteKey::RouteKey(Clock& clock, QObject* context, int holdLimitMs)
    : m_clock(clock)
    , m_context(context)
    , m_holdLimitMs(holdLimitMs)
{
}

void RouteKey::start(KeySource::Listener& listener)
{
    stop();
    m_listener = &listener;
}

void RouteKey::stop()
{
    m_listener = nullptr;
    m_down = false;
    m_limit.reset();
}

void RouteKey::watch(PhysicalKey key)
{
    if (key == m_key)
        return;
    m_key = key;
    m_down = false;
    m_limit.reset();
}

void RouteKey::press()
{
    if (!m_listener)
        return;
    if (m_down) {
        if (m_holdLimitMs == 0)
            return;
        release();
    }
    m_down = true;
    m_listener->keyPressed(m_key);
    if (m_holdLimitMs > 0)
        m_limit = m_clock.after(m_holdLimitMs, m_context, [this] {
            Timing::mark(QStringLiteral("hotkey: no release reported; the hold ends at its limit"));
            release();
        });
}

void RouteKey::release()
{
    m_limit.reset();
    // A release with no press seen (the route started while the key was down) ends nothing.
    if (!m_listener || !m_down)
        return;
    m_down = false;
    m_listener->keyReleased(m_key);
}

void RouteKey::fail(const QString& why)
{
    if (m_listener)
        m_listener->sourceFailed(why);
}

void RouteKey::answered()
{
    if (m_listener)
        m_listener->sourceAnswered();
}
