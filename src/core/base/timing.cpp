#include "core/base/timing.h"

#include "core/base/support_paths.h"

#include <QFile>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

namespace {

struct Line {
    QString path;
    QByteArray bytes;
};

void append(const Line& line)
{
    // Opened and closed for every line; append mode creates the file when missing.
    QFile file(line.path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line.bytes);
}

// The serial queue that alone touches the log file. It is never destroyed, because marks may
// come from static destructors at exit; finish() drains it at exit, after which marks are
// written on the caller's thread, still one whole line at a time and in order.
class Writer {
public:
    Writer()
        : m_thread([this] { run(); })
    {
    }

    void push(Line line)
    {
        std::unique_lock lock(m_mutex);
        ++m_queued;
        if (m_finished) {
            append(line);
            ++m_written;
            return;
        }
        m_lines.push_back(std::move(line));
        lock.unlock();
        m_wake.notify_all();
    }

    void flush()
    {
        std::unique_lock lock(m_mutex);
        const quint64 target = m_queued;
        m_done.wait(lock, [&] { return m_written >= target; });
    }

    void finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return m_stopping || !m_lines.empty(); });
            if (m_lines.empty()) {
                m_finished = true;
                return;
            }
            Line line = std::move(m_lines.front());
            m_lines.pop_front();
            lock.unlock();
            append(line);
            lock.lock();
            ++m_written;
            m_done.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<Line> m_lines;
    quint64 m_queued = 0;
    quint64 m_written = 0;
    bool m_stopping = false;
    bool m_finished = false;
    std::thread m_thread;
};

Writer& writer()
{
    static Writer* const instance = [] {
        auto* created = new Writer;
        std::atexit([] { writer().finish(); });
        return created;
    }();
    return *instance;
}

std::atomic<qint64> g_startMs{QDateTime::currentMSecsSinceEpoch()};

} // namespace

void Timing::mark(const QString& label)
{
    const QString line = formatLine(QDateTime::currentDateTime(), start(), label);
    writer().push({SupportPaths::file(QStringLiteral("timing.log")), line.toUtf8()});
}

QDateTime Timing::start()
{
    return QDateTime::fromMSecsSinceEpoch(g_startMs.load());
}

void Timing::setStart(const QDateTime& start)
{
    g_startMs.store(start.toMSecsSinceEpoch());
}

QString Timing::formatLine(const QDateTime& now, const QDateTime& start, const QString& label)
{
    const qint64 elapsed = start.msecsTo(now);
    return now.toLocalTime().toString(QStringLiteral("HH:mm:ss.zzz")) + QStringLiteral("  +") +
           QString::number(elapsed) + QStringLiteral("ms  ") + label + QLatin1Char('\n');
}

void Timing::flush()
{
    writer().flush();
}
