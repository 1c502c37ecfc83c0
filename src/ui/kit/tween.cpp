#include "ui/kit/tween.h"

#include "ui/kit/theme.h"

Tween::Tween(Clock& clock, QWidget& owner, double value)
    : m_clock(clock)
    , m_owner(&owner)
    , m_from(value)
    , m_to(value)
    // The curves are read from the clock, so a late tick never distorts them.
    , m_ticker(clock, owner, FrameTicker::smoothMs, [this] { tick(); })
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
    m_ticker.start();
}

void Tween::set(double target)
{
    const bool changed = value() != target;
    m_from = target;
    m_to = target;
    m_curve = nullptr;
    m_ticker.stop();
    if (changed)
        notify();
}

void Tween::finish()
{
    if (!m_curve && !m_ticker.running())
        return;
    m_from = m_to;
    m_curve = nullptr;
    m_ticker.stop();
    notify();
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
