#include "dictation/hotkey/own_chords.h"

#include <algorithm>

namespace {

// Whether the chord's letter may have been pressed before it failed.
bool mayHavePressed(const KeySynthesizer::Outcome& outcome)
{
    return outcome.ok() || outcome.error().reason == KeySynthesizer::Failure::Reason::PostFailed;
}

} // namespace

OwnChords::OwnChords(KeySynthesizer& keys, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_keys(keys)
    , m_clock(clock)
{
}

void OwnChords::post(Chord chord, Target target, QObject* context, Done done)
{
    dropExpired();
    const quint64 id = ++m_lastId;
    m_letters.push_back({id, m_clock.elapsedMs() + unansweredMs});
    m_keys.post(chord, target, context, [this, id, done = std::move(done)](const Outcome& outcome) {
        const auto letter =
            std::find_if(m_letters.begin(), m_letters.end(), [id](const Letter& l) { return l.id == id; });
        if (letter != m_letters.end()) {
            if (mayHavePressed(outcome))
                letter->dueByMs = m_clock.elapsedMs() + arrivalMs;
            else
                m_letters.erase(letter);
        }
        done(outcome);
    });
}

bool OwnChords::claim()
{
    dropExpired();
    if (m_letters.empty())
        return false;
    m_letters.pop_front();
    return true;
}

bool OwnChords::striking()
{
    dropExpired();
    return !m_letters.empty();
}

void OwnChords::dropExpired()
{
    const qint64 now = m_clock.elapsedMs();
    std::erase_if(m_letters, [now](const Letter& letter) { return letter.dueByMs < now; });
}
