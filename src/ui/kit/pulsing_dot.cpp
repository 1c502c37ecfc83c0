#include "ui/kit/pulsing_dot.h"

#include "ui/kit/motion.h"
#include "ui/kit/theme.h"

#include <QPainter>

PulsingDot::PulsingDot(Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_ticker(clock, *this, FrameTicker::gentleMs, [this] { update(); })
{
    setFixedSize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

PulsingDot::Pulse PulsingDot::pulseAt(qint64 msSinceShown, bool animated)
{
    const double progress =
        animated ? static_cast<double>(std::max<qint64>(0, msSinceShown) % periodMs) / periodMs : 1.0;
    const double eased = animated ? Motion::easeOut(progress) : 1.0;
    return {side * (0.55 + (1.2 - 0.55) * eased), 1 - eased};
}

void PulsingDot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QPointF centre = QRectF(rect()).center();
    const Pulse pulse = pulseAt(m_ticker.clock().elapsedMs() - m_shownAt, Theme::animated());
    if (pulse.opacity > 0) {
        QColor ring = Theme::red();
        ring.setAlphaF(static_cast<float>(0.35 * pulse.opacity));
        p.setBrush(ring);
        p.drawEllipse(centre, pulse.diameter / 2, pulse.diameter / 2);
    }
    p.setBrush(Theme::red());
    p.drawEllipse(centre, 3.5, 3.5);
}

void PulsingDot::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_shownAt = m_ticker.clock().elapsedMs();
    m_ticker.start();
}

void PulsingDot::hideEvent(QHideEvent* event)
{
    m_ticker.stop();
    QWidget::hideEvent(event);
}
