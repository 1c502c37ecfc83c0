#include "ui/overlay/cards/card_transition.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

CardTransition::CardTransition(Clock& clock, QWidget& card)
    : QGraphicsEffect(&card)
    , m_shown(clock, card, 1)
{
    m_shown.setOnFrame([this] { frame(); });
    card.setGraphicsEffect(this);
    card.installEventFilter(this);
}

bool CardTransition::eventFilter(QObject* watched, QEvent* event)
{
    // Nobody sees a hidden card move: it takes its end at once and its frame timer stops.
    if (event->type() == QEvent::Hide)
        m_shown.finish();
    return QGraphicsEffect::eventFilter(watched, event);
}

void CardTransition::enter(int durationMs, Tween::Curve curve)
{
    m_leaving = false;
    m_hiddenScale = 0.94;
    m_shown.set(0);
    m_shown.moveTo(1, durationMs, curve);
}

void CardTransition::leave(int durationMs, Tween::Curve curve)
{
    m_leaving = true;
    m_hiddenScale = 0.97;
    m_shown.moveTo(0, durationMs, curve);
    // Already invisible: no frame follows to report it.
    if (m_leaving && !m_shown.running()) {
        m_leaving = false;
        emit left();
    }
}

double CardTransition::opacity() const
{
    return std::clamp(m_shown.value(), 0.0, 1.0);
}

double CardTransition::scale() const
{
    return m_hiddenScale + (1 - m_hiddenScale) * m_shown.value();
}

void CardTransition::frame()
{
    update();
    emit stepped();
    if (m_leaving && !m_shown.running() && m_shown.value() == 0) {
        m_leaving = false;
        emit left();
    }
}

void CardTransition::draw(QPainter* painter)
{
    const double s = scale();
    const double o = opacity();
    if (o >= 1 && s == 1) {
        drawSource(painter);
        return;
    }
    if (o <= 0)
        return;
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset);
    const QRectF bounds = sourceBoundingRect(Qt::LogicalCoordinates);
    const QPointF anchor(bounds.center().x(), bounds.bottom());
    painter->save();
    painter->setOpacity(painter->opacity() * o);
    painter->translate(anchor);
    painter->scale(s, s);
    painter->translate(-anchor);
    painter->drawPixmap(offset, pixmap);
    painter->restore();
}
