#include "ui/kit/thinking_wave.h"

#include "ui/kit/theme.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

ThinkingWave::ThinkingWave(Clock& clock, int bars, QColor color, QWidget* parent)
    : QWidget(parent)
    , m_bars(std::max(0, bars))
    , m_color(color)
    , m_ticker(clock, *this, FrameTicker::gentleMs, [this] { update(); })
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

double ThinkingWave::barHeight(double seconds, int index)
{
    return (std::sin(6.5 * seconds - 0.7 * index) * 0.5 + 0.5) * 10 + 3;
}

double ThinkingWave::waveSeconds(const QDateTime& now)
{
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return static_cast<double>(reference.msecsTo(now)) / 1000.0;
}

QSize ThinkingWave::sizeHint() const
{
    return {static_cast<int>(std::ceil(m_bars * barWidth + std::max(0, m_bars - 1) * spacing)), 14};
}

void ThinkingWave::paintEvent(QPaintEvent*)
{
    if (m_bars == 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor c = m_color;
    c.setAlphaF(static_cast<float>(m_color.alphaF() * 0.85));
    const double t = Theme::animated() ? waveSeconds(m_ticker.clock().now()) : 0.0;
    const double rowWidth = m_bars * barWidth + (m_bars - 1) * spacing;
    double x = (width() - rowWidth) / 2;
    const double middle = height() / 2.0;
    QPainterPath path;
    for (int i = 0; i < m_bars; ++i) {
        const double h = barHeight(t, i);
        path.addRoundedRect(QRectF(x, middle - h / 2, barWidth, h), barWidth / 2, barWidth / 2);
        x += barWidth + spacing;
    }
    p.fillPath(path, c);
}

void ThinkingWave::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_bars > 0)
        m_ticker.start();
}

void ThinkingWave::hideEvent(QHideEvent* event)
{
    m_ticker.stop();
    QWidget::hideEvent(event);
}
