#pragma once

#include "core/base/clock.h"
#include "ui/kit/tween.h"

#include <QGraphicsEffect>

// A card's way in and out: in from invisible at 94 %, out to invisible at 97 %, both scaled about
// the card's bottom centre, so it grows out of and sinks toward the pill. With animations off it
// jumps to its end.
class CardTransition final : public QGraphicsEffect {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardTransition)

public:
    // Installs itself on card, which owns it from then on.
    CardTransition(Clock& clock, QWidget& card);

    void enter(int durationMs, Tween::Curve curve);
    void leave(int durationMs, Tween::Curve curve);
    double opacity() const;
    double scale() const;
    bool running() const { return m_shown.running(); }

signals:
    // The card is invisible at the end of leave(); it may be deleted now.
    void left();
    // Every step of the way, for what is drawn around the card such as its shadow.
    void stepped();

protected:
    void draw(QPainter* painter) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void frame();

    // 0 invisible, 1 fully shown; a spring may carry it a little past 1.
    Tween m_shown;
    double m_hiddenScale = 0.94;
    bool m_leaving = false;
};
