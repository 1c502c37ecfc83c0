#pragma once

#include "ui/kit/frame_ticker.h"

#include <QColor>
#include <QDateTime>
#include <QWidget>

#include <optional>

// An indeterminate busy wave: bars whose heights run as a sine across the row.
class ThinkingWave final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThinkingWave)

public:
    static constexpr double barWidth = 2.5;
    static constexpr double spacing = 2.5;
    ThinkingWave(Clock& clock, int bars, QColor color, QWidget* parent = nullptr);

    // Height of bar index at time seconds: 3 to 13 points, 6.5 rad/s, 0.7 rad later per bar.
    static double barHeight(double seconds, int index);
    // Seconds since 2001-01-01 UTC, so every wave on screen runs in step.
    static double waveSeconds(const QDateTime& now);
    int bars() const { return m_bars; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int m_bars;
    QColor m_color;
    // At most 30 frames a second.
    FrameTicker m_ticker;
};
