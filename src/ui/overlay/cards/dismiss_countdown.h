#pragma once

#include "core/base/clock.h"

#include <QObject>

#include <optional>

// A card's self-closing countdown on the injected clock: 50 ms ticks, paused while hovered.
class DismissCountdown final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DismissCountdown)

public:
    static constexpr int tickMs = 50;

    explicit DismissCountdown(Clock& clock, QObject* parent = nullptr);

    // Starts afresh from a full bar; below one second nothing counts and nothing closes.
    void start(int seconds);
    // Stops without finishing: a cancelled countdown never asks to close.
    void cancel();
    void setPaused(bool paused);

    // The fraction still left, 1 down to 0.
    double remaining() const { return m_remaining; }
    bool timed() const { return m_seconds > 0; }
    bool running() const { return m_timer.has_value(); }

signals:
    void remainingChanged();
    // The whole time ran out unpaused; emitted once per start.
    void finished();

private:
    void tick();

    Clock& m_clock;
    std::optional<Clock::TimerId> m_timer;
    int m_seconds = 0;
    double m_elapsed = 0;
    double m_remaining = 1;
    bool m_paused = false;
};
