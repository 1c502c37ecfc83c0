#pragma once

#include "core/base/clock.h"
#include "platform/key_synthesizer.h"
#include "platform/pasteboard.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// Reads the focused application's selection by posting the copy chord and watching the
// clipboard for a short while; the user's clipboard is put back afterwards. One at a time.
class CopyProbe final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CopyProbe)

public:
    static constexpr int waitMs = 280;
    static constexpr int pollMs = 20;

    using Done = std::function<void(const std::optional<QString>& copied)>;

    CopyProbe(Pasteboard& board, KeySynthesizer& keys, Clock& clock, QObject* parent = nullptr);

    // Answers the copied text within the selection limits, or none. Aborts a probe still running.
    void start(Done done);
    // Puts the clipboard back now and answers none.
    void abort();
    bool running() const { return static_cast<bool>(m_done); }

private:
    void poll();
    void finish(const std::optional<QString>& copied);

    Pasteboard& m_board;
    KeySynthesizer& m_keys;
    Clock& m_clock;
    Done m_done;
    PasteboardSnapshot m_saved;
    quint64 m_before = 0;
    qint64 m_deadline = 0;
    quint64 m_generation = 0;
    Clock::Timer m_timer;
};
