#pragma once

#include "core/model/quenda_note.h"

#include <QList>
#include <QObject>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Writes the notes file on a thread of its own, so a keystroke on a long list does not wait for
// the disk. Only the newest list waits to be written: one handed over while another is waiting
// replaces it. After each write, done runs on the thread of context.
class NotesWriteBehind final {
public:
    using Write = std::function<bool(const QList<QuendaNote>&)>;

    // context must outlive the writer.
    NotesWriteBehind(Write write, QObject* context, std::function<void()> done);
    // Writes what is waiting before it goes.
    ~NotesWriteBehind();
    Q_DISABLE_COPY_MOVE(NotesWriteBehind)

    void post(const QList<QuendaNote>& notes);
    // Waits until everything handed over is written; false when the last write failed.
    bool flush();
    // The outcome of the last write so far.
    bool lastOk() const;

private:
    void run();

    Write m_write;
    QObject* m_context;
    std::function<void()> m_done;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_settled;
    std::optional<QList<QuendaNote>> m_pending;
    bool m_writing = false;
    bool m_stop = false;
    bool m_lastOk = true;
    std::thread m_thread;
};
