#include "ui/kit/tween.h"

#include "ui/kit/theme.h"

namespace {
// One frame at 60 Hz; the curves are read from the clock, so a late tick never distorts them.
constexpr int kFrameMs = 16;
} // namespace

Tween::Tween(Clock& clock, QWidget& owner, double value)
    : m_clock(clock)
    , m_owner(&owner)
    , m_from(value)
    , m_to(value)
{
}

Tween::~Tween() = default;

void Tween::moveTo(double target, int durationMs, Curve curve, int delayMs)
{
    if (target == m_to)
        return;
    if (!Theme::animated() || !m_owner || !m_owner->isVisible() || durationMs <= 0) {
        set(target);
        return;
    }
    m_from = value();
    m_to = target;
    m_startMs = m_clock.elapsedMs();
    m_delayMs = delayMs;
    m_durationMs = durationMs;
    m_curve = curve;
    if (!m_timer)
        m_timer = m_clock.every(kFrameMs, m_owner, [this] { tick(); });
}

void Tween::set(double target)
{
    const bool changed = value() != target;
    m_from = target;
    m_to = target;
    m_curve = nullptr;
    stopTimer();
    if (changed)
        notify();
}

void Tween::finish()
{
    if (!m_curve && !m_timer)
        return;
    m_from = m_to;
    m_curve = nullptr;
    stopTimer();
    notify();
}

void Tween::stopTimer()
{
    m_timer.reset();
}

void Tween::notify()
{
    if (m_owner)
        m_owner->update();
    if (m_onFrame)
        m_onFrame();
}

double Tween::value() const
{
    if (!m_curve)
        return m_to;
    const qint64 since = m_clock.elapsedMs() - m_startMs - m_delayMs;
    const double progress = since <= 0 ? 0.0 : static_cast<double>(since) / m_durationMs;
    if (progress >= 1)
        return m_to;
    return m_from + (m_to - m_from) * m_curve(progress);
}

void Tween::tick()
{
    if (m_clock.elapsedMs() - m_startMs - m_delayMs >= m_durationMs) {
        finish();
        return;
    }
    notify();
}
