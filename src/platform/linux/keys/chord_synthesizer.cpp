#include "platform/linux/keys/chord_synthesizer.h"

using Key = SyntheticKeyboard::Key;

namespace {

KeySynthesizer::Failure failure(KeySynthesizer::Failure::Reason reason, const QString& detail)
{
    return {reason, detail};
}

} // namespace

ChordSynthesizer::ChordSynthesizer(SyntheticKeyboard& keyboard, Clock& clock, int waitMs, QObject* parent)
    : QObject(parent)
    , m_keyboard(keyboard)
    , m_clock(clock)
    , m_waitMs(waitMs)
{
}

void ChordSynthesizer::post(Chord chord, Target target, QObject* context, Done done)
{
    m_jobs.push_back({chord, target, {context, std::move(done)}});
    if (m_busy)
        return;
    m_busy = true;
    // Never answer inside post(): the caller may not be ready for its own callback yet.
    m_clock.singleShot(0, this, [this] { next(); });
}

void ChordSynthesizer::next()
{
    while (!m_jobs.empty() && !m_jobs.front().reply.context())
        m_jobs.pop_front();
    if (m_jobs.empty()) {
        m_busy = false;
        return;
    }
    const Job& job = m_jobs.front();
    if (job.chord == Chord::Copy && job.target != Target::Application) {
        finish(failure(Failure::Reason::TerminalCopyRefused,
                       QStringLiteral("copy into a terminal would interrupt its command")));
        return;
    }
    m_turnStartedMs = m_clock.elapsedMs();
    poll();
}

void ChordSynthesizer::poll()
{
    const Job& job = m_jobs.front();
    if (!job.reply.context()) {
        m_jobs.pop_front();
        next();
        return;
    }
    const auto state = m_keyboard.state();
    if (!state.ok()) {
        finish(state.error());
        return;
    }
    // A held modifier that is not part of the chord changes it (Ctrl+Alt+V, or Ctrl+Shift+C,
    // which opens a browser's developer tools).
    QStringList blocking = state.value().other;
    if (job.target == Target::Application)
        blocking += state.value().shift;
    if (job.target == Target::ShiftInsert)
        blocking += state.value().control;
    if (blocking.isEmpty()) {
        finish(strike(job, state.value()));
        return;
    }
    if (m_clock.elapsedMs() - m_turnStartedMs >= m_waitMs) {
        finish(failure(Failure::Reason::ModifiersHeld,
                       QStringLiteral("still held: ") + blocking.join(QStringLiteral(", "))));
        return;
    }
    m_clock.singleShot(pollMs, this, [this] { poll(); });
}

KeySynthesizer::Outcome ChordSynthesizer::strike(const Job& job, const SyntheticKeyboard::State& state) const
{
    QList<Key> keys;
    switch (job.target) {
    case Target::Application:
        keys = {Key::Control, job.chord == Chord::Paste ? Key::V : Key::C};
        break;
    case Target::Terminal:
        keys = {Key::Control, Key::Shift, Key::V};
        break;
    case Target::ShiftInsert:
        keys = {Key::Shift, Key::Insert};
        break;
    }

    QList<Key> pressed;
    std::optional<Failure> failed;
    for (const Key key : keys) {
        // A modifier the user holds already is theirs: pressing it again and releasing it would
        // leave the server believing it up while the finger is still on it.
        if (key != keys.last() && state.down.contains(key))
            continue;
        const auto done = m_keyboard.press(key);
        // A press that reports an error may still have reached the server, so it is released too.
        pressed << key;
        if (!done.ok()) {
            failed = done.error();
            break;
        }
    }
    for (auto it = pressed.crbegin(); it != pressed.crend(); ++it) {
        const auto done = m_keyboard.release(*it);
        if (!done.ok() && !failed)
            failed = done.error();
    }
    if (failed)
        return *failed;
    return Posted{m_clock.elapsedMs() - m_turnStartedMs};
}

void ChordSynthesizer::finish(const Outcome& outcome)
{
    Job job = std::move(m_jobs.front());
    m_jobs.pop_front();
    job.reply(outcome);
    next();
}
