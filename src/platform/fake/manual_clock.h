#pragma once

#include "core/base/clock.h"

#include <QTimeZone>

#include <QPointer>

#include <vector>

// A clock that moves only when a test advances it; due timers fire in time order.
class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2025, 3, 1), QTime(8, 15), Qt::UTC));

    QDateTime now() const override;
    qint64 elapsedMs() const override;
    TimerId singleShot(int delayMs, QObject* context, std::function<void()> fn) override;
    TimerId repeating(int intervalMs, QObject* context, std::function<void()> fn) override;
    void cancel(TimerId id) override;

    // Moves time forward, firing every timer that falls due on the way.
    void advance(qint64 ms);
    // Timers still waiting to fire.
    int pendingCount() const;

private:
    struct Entry {
        TimerId id;
        qint64 due;
        qint64 interval; // 0 for a single shot
        QPointer<QObject> context;
        std::function<void()> fn;
    };
    TimerId add(qint64 delay, qint64 interval, QObject* context, std::function<void()> fn);

    QDateTime m_start;
    qint64 m_elapsed = 0;
    TimerId m_next = 1;
    std::vector<Entry> m_entries;
};
