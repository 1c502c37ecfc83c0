#pragma once

#include "ui/kit/frame_ticker.h"

#include <QWidget>

#include <optional>

// The recording dot: a fixed red core and a ring that grows and fades every 1.1 s while shown.
class PulsingDot final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PulsingDot)

public:
    struct Pulse {
        double diameter;
        double opacity;
    };
    static constexpr int side = 14;
    static constexpr int periodMs = 1100;

    explicit PulsingDot(Clock& clock, QWidget* parent = nullptr);

    // The ring msSinceShown after the dot came on screen; with animations off, its end state.
    static Pulse pulseAt(qint64 msSinceShown, bool animated);
    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    qint64 m_shownAt = 0;
    FrameTicker m_ticker;
};
