#include "ui/overlay/cards/dismiss_countdown.h"

#include <algorithm>
#include <utility>

DismissCountdown::DismissCountdown(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
{
}

void DismissCountdown::start(int seconds)
{
    cancel();
    m_seconds = std::max(seconds, 0);
    m_elapsed = 0;
    m_remaining = 1;
    emit remainingChanged();
    if (m_seconds < 1)
        return;
    m_timer = m_clock.repeating(tickMs, this, [this] { tick(); });
}

void DismissCountdown::cancel()
{
    if (m_timer)
        m_clock.cancel(*std::exchange(m_timer, std::nullopt));
}

void DismissCountdown::setPaused(bool paused)
{
    m_paused = paused;
}

void DismissCountdown::tick()
{
    if (!m_paused) {
        // Summed in steps as the bar is drawn, so 3 s close on the 61st tick, not the 60th.
        m_elapsed += tickMs / 1000.0;
        m_remaining = std::max(0.0, 1 - m_elapsed / m_seconds);
        emit remainingChanged();
    }
    if (m_elapsed < m_seconds)
        return;
    cancel();
    emit finished();
}
