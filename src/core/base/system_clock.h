#pragma once

#include "core/base/clock.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QTimer>

// The production clock: wall time from the system, delays from QTimer.
class SystemClock final : public QObject, public Clock {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SystemClock)

public:
    explicit SystemClock(QObject* parent = nullptr);
    ~SystemClock() override;

    QDateTime now() const override;
    qint64 elapsedMs() const override;
    TimerId singleShot(int delayMs, QObject* context, std::function<void()> fn) override;
    TimerId repeating(int intervalMs, QObject* context, std::function<void()> fn) override;
    void cancel(TimerId id) override;

private:
    TimerId start(int ms, bool single, QObject* context, std::function<void()> fn);

    QElapsedTimer m_elapsed;
    QHash<TimerId, QPointer<QTimer>> m_timers;
    TimerId m_next = 1;
};
