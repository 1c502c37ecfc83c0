#include "ui/kit/mirrored_waveform.h"

#include "ui/kit/motion.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdlib>

MirroredWaveform::MirroredWaveform(Clock& clock, int bars, QColor color, QWidget* parent)
    : QWidget(parent)
    , m_bars(std::max(0, bars))
    , m_color(color)
    , m_from(barsFor({}, m_bars))
    , m_to(m_from)
    , m_ease(clock, *this, 1)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QList<MirroredWaveform::Bar> MirroredWaveform::barsFor(const QList<double>& levels, int bars)
{
    QList<Bar> out;
    if (bars <= 0)
        return out;
    out.reserve(bars);
    const int centre = bars / 2;
    for (int i = 0; i < bars; ++i) {
        const int d = std::abs(i - centre);
        double amplitude = 0;
        if (!levels.isEmpty()) {
            const qsizetype k = std::max<qsizetype>(0, levels.size() - 1 - d);
            const double level = levels[k];
            // A meter that reports NaN or infinity must not draw a bar of undefined height.
            amplitude = std::isfinite(level) ? level * 20 : 0;
        }
        const double weight = 1 - 1.1 * d / bars;
        out.append({std::max(3.0, weight * amplitude + 3), weight * 0.55 + 0.45});
    }
    return out;
}

void MirroredWaveform::setLevels(const QList<double>& levels)
{
    QList<Bar> next = barsFor(levels, m_bars);
    if (next.size() == m_to.size()) {
        bool same = true;
        for (qsizetype i = 0; i < next.size() && same; ++i)
            same = next[i].height == m_to[i].height;
        if (same)
            return;
    }
    const QList<double> shown = shownHeights();
    for (qsizetype i = 0; i < m_from.size() && i < shown.size(); ++i)
        m_from[i].height = shown[i];
    m_to = std::move(next);
    m_ease.set(0);
    m_ease.moveTo(1, easeMs, &Motion::easeOut);
    update();
}

QList<double> MirroredWaveform::shownHeights() const
{
    const double t = m_ease.value();
    QList<double> heights;
    heights.reserve(m_to.size());
    for (qsizetype i = 0; i < m_to.size(); ++i) {
        const double from = i < m_from.size() ? m_from[i].height : m_to[i].height;
        heights.append(from + (m_to[i].height - from) * t);
    }
    return heights;
}

QSize MirroredWaveform::sizeHint() const
{
    return {static_cast<int>(std::ceil(m_bars * barWidth + std::max(0, m_bars - 1) * spacing)), 20};
}

void MirroredWaveform::paintEvent(QPaintEvent*)
{
    if (m_bars == 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double rowWidth = m_bars * barWidth + (m_bars - 1) * spacing;
    double x = (width() - rowWidth) / 2;
    const double middle = height() / 2.0;
    const QList<double> heights = shownHeights();
    for (qsizetype i = 0; i < heights.size(); ++i) {
        QColor c = m_color;
        c.setAlphaF(static_cast<float>(m_color.alphaF() * m_to[i].opacity));
        QPainterPath bar;
        bar.addRoundedRect(QRectF(x, middle - heights[i] / 2, barWidth, heights[i]), barWidth / 2,
                           barWidth / 2);
        p.fillPath(bar, c);
        x += barWidth + spacing;
    }
}

void MirroredWaveform::hideEvent(QHideEvent* event)
{
    m_ease.finish();
    QWidget::hideEvent(event);
}
