#pragma once

#include "core/base/clock.h"
#include "ui/kit/tween.h"

#include <QColor>
#include <QList>
#include <QWidget>

// Audio levels as a row of bars mirrored around the centre: the newest level drives the centre
// bar, older ones spread outwards, lower and fainter.
class MirroredWaveform final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MirroredWaveform)

public:
    struct Bar {
        double height;
        double opacity;
    };
    static constexpr double barWidth = 2.4;
    static constexpr double spacing = 2.4;
    static constexpr int easeMs = 100;

    MirroredWaveform(Clock& clock, int bars, QColor color, QWidget* parent = nullptr);

    // The bars for levels (oldest first); a level that is not a finite number counts as silence.
    static QList<Bar> barsFor(const QList<double>& levels, int bars);
    // New levels ease in over easeMs.
    void setLevels(const QList<double>& levels);
    // The heights drawn now, part way through an ease.
    QList<double> shownHeights() const;
    int bars() const { return m_bars; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int m_bars;
    QColor m_color;
    QList<Bar> m_from;
    QList<Bar> m_to;
    Tween m_ease;
};
