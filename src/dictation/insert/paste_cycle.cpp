#include "dictation/insert/paste_cycle.h"

#include "core/base/timing.h"

PasteCycle::PasteCycle(Pasteboard& board, Clock& clock, VisibleCheck visible, QObject* parent)
    : QObject(parent)
    , m_board(board)
    , m_clock(clock)
    , m_visible(std::move(visible))
{
}

bool PasteCycle::untouched() const
{
    return m_board.changeCount() == m_written;
}

PasteboardSnapshot PasteCycle::usersClipboard() const
{
    // A copy the user made after our paste is theirs now, and newer than what the cycle saved.
    if (m_saved && untouched())
        return *m_saved;
    return m_board.snapshot();
}

const PasteboardSnapshot& PasteCycle::open()
{
    stopWaiting();
    m_saved = usersClipboard();
    return *m_saved;
}

void PasteCycle::write(const QString& text)
{
    m_board.writeText(text);
    m_written = m_board.changeCount();
}

void PasteCycle::scheduleRestore(const QString& text)
{
    stopWaiting();
    m_pending = true;
    m_text = text;
    m_deadline = m_clock.elapsedMs() + visibleLimitMs;
    poll();
}

void PasteCycle::poll()
{
    if (m_clock.elapsedMs() >= m_deadline) {
        settle();
        return;
    }
    const quint64 generation = m_generation;
    m_visible(m_text, [this, generation](bool visible) {
        if (generation != m_generation)
            return;
        if (visible)
            settle();
        else
            m_timer = m_clock.after(visiblePollMs, this, [this] { poll(); });
    });
}

void PasteCycle::settle()
{
    // The application may still read the clipboard a moment after the text shows.
    const quint64 generation = m_generation;
    m_timer = m_clock.after(settleMs, this, [this, generation] {
        if (generation == m_generation)
            restore();
    });
}

void PasteCycle::restoreNow()
{
    if (m_saved)
        restore();
}

void PasteCycle::restore()
{
    stopWaiting();
    if (m_saved && untouched()) {
        m_board.restore(*m_saved);
        Timing::mark(QStringLiteral("insert: clipboard restored"));
    } else if (m_saved) {
        Timing::mark(QStringLiteral("insert: clipboard left to the user's newer copy"));
    }
    m_saved.reset();
}

void PasteCycle::close()
{
    stopWaiting();
    m_saved.reset();
}

void PasteCycle::stopWaiting()
{
    ++m_generation;
    m_timer.reset();
    m_pending = false;
}
