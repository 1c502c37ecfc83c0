#pragma once

#include "core/base/clock.h"
#include "ui/overlay/cards/dismiss_countdown.h"

#include <QString>
#include <QWidget>

class QVBoxLayout;

// The shell of the cards that close themselves: dark rounded fill, border, the countdown bar, and
// the countdown itself, paused while the pointer rests on the card.
class TimedCard : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimedCard)

public:
    const DismissCountdown& countdown() const { return m_countdown; }
    int dismissSeconds() const { return m_seconds; }

signals:
    // The close button was pressed or the countdown ran out.
    void closeRequested();

protected:
    TimedCard(Clock& clock, QWidget* parent);

    QVBoxLayout* rows() const { return m_rows; }
    // The hairline under the header and the card's text below it.
    void addBody(QWidget* body);
    // A new key (text, status, place or seconds) restarts the countdown from a full bar.
    void restartFor(const QString& key, int seconds);

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QVBoxLayout* m_rows;
    DismissCountdown m_countdown;
    QString m_key;
    int m_seconds = 0;
    bool m_started = false;
};
