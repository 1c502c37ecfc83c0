#include "ui/kit/spinner.h"

#include "ui/kit/scheme.h"

#include <QPainter>

Spinner::Spinner(Clock& clock, int side, QWidget* parent)
    : QWidget(parent)
    , m_side(side)
    , m_ticker(clock, *this, stepMs, [this] {
        m_step = (m_step + 1) % 12;
        update();
    })
{
    setFixedSize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Spinner::setColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

void Spinner::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_ticker.start();
}

void Spinner::hideEvent(QHideEvent* event)
{
    m_ticker.stop();
    QWidget::hideEvent(event);
}

void Spinner::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = m_colour.value_or(Scheme::text(palette(), Scheme::Text::Secondary));
    const double w = std::max(1.5, m_side / 8.0);
    const QRectF box = QRectF(rect()).adjusted(w, w, -w, -w);
    QColor track = ink;
    track.setAlphaF(ink.alphaF() * 0.25f);
    p.setPen(QPen(track, w));
    p.drawEllipse(box);
    p.setPen(QPen(ink, w, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(box, (90 - m_step * 30) * 16, -100 * 16);
}
