#include "core/notes/notes_write_behind.h"

#include <QMetaObject>

NotesWriteBehind::NotesWriteBehind(Write write, QObject* context, std::function<void()> done)
    : m_write(std::move(write))
    , m_context(context)
    , m_done(std::move(done))
    , m_thread([this] { run(); })
{
}

NotesWriteBehind::~NotesWriteBehind()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void NotesWriteBehind::post(const QList<QuendaNote>& notes)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending = notes;
    }
    m_wake.notify_one();
}

bool NotesWriteBehind::flush()
{
    std::unique_lock lock(m_mutex);
    m_settled.wait(lock, [this] { return !m_pending && !m_writing; });
    return m_lastOk;
}

bool NotesWriteBehind::lastOk() const
{
    const std::lock_guard lock(m_mutex);
    return m_lastOk;
}

void NotesWriteBehind::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_stop; });
        if (!m_pending)
            return; // stopping with nothing left to write
        const QList<QuendaNote> notes = *std::exchange(m_pending, std::nullopt);
        m_writing = true;
        lock.unlock();
        const bool ok = m_write(notes);
        lock.lock();
        m_writing = false;
        m_lastOk = ok;
        m_settled.notify_all();
        QMetaObject::invokeMethod(m_context, m_done, Qt::QueuedConnection);
    }
}
