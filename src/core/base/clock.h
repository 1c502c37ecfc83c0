#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>
#include <utility>

// Source of time and delayed work. The app runs on QTimer (SystemClock); tests advance a
// ManualClock by hand, so every delay is tested without sleeping.
class Clock {
public:
    using TimerId = quint64;

    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;
    // Milliseconds on a monotonic scale, for measuring durations.
    virtual qint64 elapsedMs() const = 0;
    // Calls fn once after delayMs on the clock's thread; never called once context is destroyed.
    virtual TimerId singleShot(int delayMs, QObject* context, std::function<void()> fn) = 0;
    // Calls fn every intervalMs until cancelled or context is destroyed.
    virtual TimerId repeating(int intervalMs, QObject* context, std::function<void()> fn) = 0;
    // Cancelling an unknown or finished timer does nothing.
    virtual void cancel(TimerId id) = 0;

    class Timer;

    // The same timers, held by a handle that cancels them when it is reset, reassigned or destroyed.
    [[nodiscard]] Timer after(int delayMs, QObject* context, std::function<void()> fn);
    [[nodiscard]] Timer every(int intervalMs, QObject* context, std::function<void()> fn);
};

// One timer of a clock, cancelled when the handle lets go of it; empty when default-built, reset or
// moved from. A single shot that fired keeps its handle armed until reset: cancelling it then does
// nothing. The clock must outlive the handle.
class Clock::Timer final {
public:
    Timer() = default;
    ~Timer() { reset(); }
    Timer(Timer&& other) noexcept
        : m_clock(std::exchange(other.m_clock, nullptr))
        , m_id(other.m_id)
    {
    }
    Timer& operator=(Timer&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_clock = std::exchange(other.m_clock, nullptr);
            m_id = other.m_id;
        }
        return *this;
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Whether the handle holds a timer.
    explicit operator bool() const { return m_clock != nullptr; }
    void reset()
    {
        if (Clock* clock = std::exchange(m_clock, nullptr))
            clock->cancel(m_id);
    }

private:
    friend class Clock;
    Timer(Clock& clock, TimerId id)
        : m_clock(&clock)
        , m_id(id)
    {
    }

    Clock* m_clock = nullptr;
    TimerId m_id = 0;
};

inline Clock::Timer Clock::after(int delayMs, QObject* context, std::function<void()> fn)
{
    return Timer(*this, singleShot(delayMs, context, std::move(fn)));
}

inline Clock::Timer Clock::every(int intervalMs, QObject* context, std::function<void()> fn)
{
    return Timer(*this, repeating(intervalMs, context, std::move(fn)));
}
