#pragma once

#include "ui/kit/frame_ticker.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

// A number moving to a new value on the injected clock, repainting its owner while it moves.
// Only a shown owner with animations on runs a timer; otherwise the value jumps to its end.
class Tween final {
public:
    using Curve = double (*)(double progress);

    Tween(Clock& clock, QWidget& owner, double value = 0);
    ~Tween();
    Q_DISABLE_COPY_MOVE(Tween)

    // Moves from the current value to target over durationMs after delayMs.
    void moveTo(double target, int durationMs, Curve curve, int delayMs = 0);
    // Jumps to target and stops.
    void set(double target);
    // Jumps to the end of a running move and stops its timer; owners call it when hidden.
    void finish();
    double value() const;
    double target() const { return m_to; }
    bool running() const { return m_ticker.running(); }
    // Called on every frame while moving and once at the end, after the owner's update().
    void setOnFrame(std::function<void()> onFrame) { m_onFrame = std::move(onFrame); }

private:
    void tick();
    void notify();

    Clock& m_clock;
    QPointer<QWidget> m_owner;
    double m_from;
    double m_to;
    qint64 m_startMs = 0;
    int m_delayMs = 0;
    int m_durationMs = 0;
    Curve m_curve = nullptr;
    std::function<void()> m_onFrame;
    FrameTicker m_ticker;
};
