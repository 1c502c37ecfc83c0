#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>

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
};
