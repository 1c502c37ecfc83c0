#include "dictation/insert/copy_probe.h"

#include "dictation/insert/selection_probe.h"

#include <utility>

CopyProbe::CopyProbe(Pasteboard& board, KeySynthesizer& keys, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_board(board)
    , m_keys(keys)
    , m_clock(clock)
{
}

void CopyProbe::start(Done done)
{
    abort();
    m_done = std::move(done);
    m_saved = m_board.snapshot();
    m_before = m_board.changeCount();
    const quint64 generation = ++m_generation;
    m_keys.post(KeySynthesizer::Chord::Copy, KeySynthesizer::Target::Application, this,
                [this, generation](const KeySynthesizer::Outcome& outcome) {
                    if (generation != m_generation)
                        return;
                    if (!outcome.ok()) {
                        finish(std::nullopt);
                        return;
                    }
                    // The wait starts once the chord is out: the synthesiser may have waited for
                    // the user's modifiers first.
                    m_deadline = m_clock.elapsedMs() + waitMs;
                    m_timer = m_clock.every(pollMs, this, [this] { poll(); });
                });
}

void CopyProbe::poll()
{
    if (m_board.changeCount() != m_before) {
        const std::optional<QString> copied = m_board.plainText();
        finish(SelectionProbe::acceptable(copied) ? copied : std::nullopt);
    } else if (m_clock.elapsedMs() >= m_deadline) {
        finish(std::nullopt);
    }
}

void CopyProbe::abort()
{
    if (running())
        finish(std::nullopt);
}

void CopyProbe::finish(const std::optional<QString>& copied)
{
    ++m_generation;
    m_timer.reset();
    // Untouched, the clipboard is left alone: a write would only lose what cannot be read back.
    if (m_board.changeCount() != m_before)
        m_board.restore(m_saved);
    Done done = std::exchange(m_done, Done());
    if (done)
        done(copied);
}
