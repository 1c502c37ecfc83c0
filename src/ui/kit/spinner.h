#pragma once

#include "ui/kit/frame_ticker.h"

#include <QWidget>

#include <optional>

// An indeterminate progress spinner: a turning arc in the text colour. It turns only while shown
// and while animations are on; otherwise it holds still.
class Spinner final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Spinner)

public:
    // The arc moves on by a twelfth of a turn at each step.
    static constexpr int stepMs = 80;

    Spinner(Clock& clock, int side, QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    QSize sizeHint() const override { return {m_side, m_side}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int m_side;
    std::optional<QColor> m_colour;
    int m_step = 0;
    FrameTicker m_ticker;
};
