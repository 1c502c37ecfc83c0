#pragma once

#include "core/base/clock.h"

#include <QPointer>

#include <functional>

// The frame timer of the kit's animations, on the injected clock so tests can drive it. It ticks
// only between start() and stop(), never while animations are off, and never after its owner is gone.
class FrameTicker final {
public:
    // 60 frames a second, for motion the eye follows across the screen.
    static constexpr int smoothMs = 16;
    // 30 frames a second, enough for a small widget that changes in place.
    static constexpr int gentleMs = 34;

    FrameTicker(Clock& clock, QObject& owner, int frameMs, std::function<void()> onFrame);
    Q_DISABLE_COPY_MOVE(FrameTicker)

    // Does nothing while it runs already or animations are off.
    void start();
    void stop() { m_timer.reset(); }
    bool running() const { return static_cast<bool>(m_timer); }
    Clock& clock() const { return m_clock; }

private:
    Clock& m_clock;
    QPointer<QObject> m_owner;
    int m_frameMs;
    std::function<void()> m_onFrame;
    Clock::Timer m_timer;
};
