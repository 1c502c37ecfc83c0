#include "core/base/system_clock.h"

SystemClock::SystemClock(QObject* parent)
    : QObject(parent)
{
    m_elapsed.start();
}

SystemClock::~SystemClock()
{
    for (const auto& timer : std::as_const(m_timers))
        delete timer.data();
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 SystemClock::elapsedMs() const
{
    return m_elapsed.elapsed();
}

Clock::TimerId SystemClock::singleShot(int delayMs, QObject* context, std::function<void()> fn)
{
    return start(delayMs, true, context, std::move(fn));
}

Clock::TimerId SystemClock::repeating(int intervalMs, QObject* context, std::function<void()> fn)
{
    return start(intervalMs, false, context, std::move(fn));
}

void SystemClock::cancel(TimerId id)
{
    if (auto timer = m_timers.take(id)) {
        // The deferred delete may come only after the next tick, which must not fire.
        timer->stop();
        timer->deleteLater();
    }
}

Clock::TimerId SystemClock::start(int ms, bool single, QObject* context, std::function<void()> fn)
{
    const TimerId id = m_next++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(single);
    timer->setInterval(std::max(0, ms));
    connect(timer, &QTimer::timeout, context, [this, id, single, fn = std::move(fn)] {
        if (single)
            cancel(id);
        fn();
    });
    // The timer dies with its context, so a late tick can never reach a destroyed object.
    connect(context, &QObject::destroyed, timer, [this, id] { cancel(id); });
    m_timers.insert(id, timer);
    timer->start();
    return id;
}
