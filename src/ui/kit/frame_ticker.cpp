#include "ui/kit/frame_ticker.h"

#include "ui/kit/theme.h"

FrameTicker::FrameTicker(Clock& clock, QObject& owner, int frameMs, std::function<void()> onFrame)
    : m_clock(clock)
    , m_owner(&owner)
    , m_frameMs(frameMs)
    , m_onFrame(std::move(onFrame))
{
}

void FrameTicker::start()
{
    if (m_timer || !m_owner || !Theme::animated())
        return;
    m_timer = m_clock.every(m_frameMs, m_owner, [this] { m_onFrame(); });
}
