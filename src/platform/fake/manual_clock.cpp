#include "platform/fake/manual_clock.h"

#include <QTimeZone>

#include <algorithm>

ManualClock::ManualClock(QDateTime start)
    : m_start(std::move(start))
{
}

QDateTime ManualClock::now() const
{
    return m_start.addMSecs(m_elapsed);
}

qint64 ManualClock::elapsedMs() const
{
    return m_elapsed;
}

Clock::TimerId ManualClock::singleShot(int delayMs, QObject* context, std::function<void()> fn)
{
    return add(std::max(0, delayMs), 0, context, std::move(fn));
}

Clock::TimerId ManualClock::repeating(int intervalMs, QObject* context, std::function<void()> fn)
{
    return add(std::max(1, intervalMs), std::max(1, intervalMs), context, std::move(fn));
}

Clock::TimerId ManualClock::add(qint64 delay, qint64 interval, QObject* context, std::function<void()> fn)
{
    const TimerId id = m_next++;
    m_entries.push_back({id, m_elapsed + delay, interval, context, std::move(fn)});
    return id;
}

void ManualClock::cancel(TimerId id)
{
    std::erase_if(m_entries, [id](const Entry& e) { return e.id == id; });
}

void ManualClock::advance(qint64 ms)
{
    const qint64 target = m_elapsed + std::max<qint64>(0, ms);
    for (;;) {
        std::erase_if(m_entries, [](const Entry& e) { return e.context.isNull(); });
        auto next = std::min_element(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
            return a.due < b.due || (a.due == b.due && a.id < b.id);
        });
        if (next == m_entries.end() || next->due > target)
            break;
        m_elapsed = next->due;
        auto fn = next->fn;
        if (next->interval > 0)
            next->due += next->interval;
        else
            m_entries.erase(next);
        fn(); // may add or cancel timers, so no iterator survives this call
    }
    m_elapsed = target;
}

int ManualClock::pendingCount() const
{
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(),
                                          [](const Entry& e) { return !e.context.isNull(); }));
}
