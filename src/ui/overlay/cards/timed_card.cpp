#include "ui/overlay/cards/timed_card.h"

#include "ui/overlay/cards/card_parts.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

TimedCard::TimedCard(Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_rows(new QVBoxLayout(this))
    , m_countdown(clock)
{
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    setAttribute(Qt::WA_Hover);
    connect(&m_countdown, &DismissCountdown::remainingChanged, this, qOverload<>(&QWidget::update));
    connect(&m_countdown, &DismissCountdown::finished, this, &TimedCard::closeRequested);
}

void TimedCard::restartFor(const QString& key, int seconds)
{
    const QString full = key + QLatin1Char('\n') + QString::number(seconds);
    if (m_started && full == m_key)
        return;
    m_started = true;
    m_key = full;
    m_seconds = seconds;
    m_countdown.start(seconds);
}

void TimedCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF shape(rect());
    CardParts::paintShell(p, shape);
    CardParts::paintChrome(p, shape, m_countdown.remaining(), m_countdown.timed());
}

void TimedCard::enterEvent(QEnterEvent*)
{
    m_countdown.setPaused(true);
}

void TimedCard::leaveEvent(QEvent*)
{
    m_countdown.setPaused(false);
}

void TimedCard::addBody(QWidget* body)
{
    auto* line = new QHBoxLayout;
    line->setContentsMargins(CardParts::padding, 0, CardParts::padding, 0);
    line->addWidget(CardParts::divider(0.08, this));
    m_rows->addLayout(line);

    auto* text = new QHBoxLayout;
    text->setContentsMargins(0, 0, 0, 6);
    text->addWidget(body);
    m_rows->addLayout(text);
}
