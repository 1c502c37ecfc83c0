#pragma once

#include "core/base/clock.h"
#include "platform/pasteboard.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// The user's clipboard across one or more pastes of ours: saved before the first, put back once
// the last pasted text shows in the field (or after a time limit), unless the user copied
// something meanwhile.
class PasteCycle final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PasteCycle)

public:
    static constexpr int visibleLimitMs = 1150;
    static constexpr int visiblePollMs = 40;
    static constexpr int settleMs = 80;

    // Answers whether `text` ends at the caret of the focused field.
    using VisibleCheck = std::function<void(const QString& text, std::function<void(bool)> answer)>;

    PasteCycle(Pasteboard& board, Clock& clock, VisibleCheck visible, QObject* parent = nullptr);

    // Starts a cycle or continues it; stops a pending restore. Answers the clipboard to bring back.
    const PasteboardSnapshot& open();
    // Puts our text on the clipboard.
    void write(const QString& text);
    // Restores once `text` is visible, or after the limit.
    void scheduleRestore(const QString& text);
    // Brings the saved clipboard back now, unless the user copied since.
    void restoreNow();
    // Ends the cycle without restoring, leaving our text on the clipboard.
    void close();
    // The user's clipboard, wherever it is now: saved by the cycle or on the board.
    PasteboardSnapshot usersClipboard() const;

    bool isOpen() const { return m_saved.has_value(); }
    // Our last write is still on the board.
    bool holdsOurText() const { return m_saved && untouched(); }
    bool restorePending() const { return m_pending; }

private:
    // Nobody wrote to the clipboard since our last write.
    bool untouched() const;
    void poll();
    void settle();
    void restore();
    void stopWaiting();

    Pasteboard& m_board;
    Clock& m_clock;
    VisibleCheck m_visible;
    std::optional<PasteboardSnapshot> m_saved;
    quint64 m_written = 0; // the change count right after our last write
    quint64 m_generation = 0;
    Clock::TimerId m_timer = 0;
    qint64 m_deadline = 0;
    QString m_text;
    bool m_pending = false;
};
