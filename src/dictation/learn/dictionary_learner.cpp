#include "dictation/learn/dictionary_learner.h"

#include "core/base/work_queue.h"
#include "dictation/learn/dictionary_edits.h"
#include "dictation/learn/inserted_text_reader.h"

DictionaryLearner::DictionaryLearner(InsertedTextReader& reader, WorkQueue& work, Clock& clock,
                                     QObject* parent)
    : QObject(parent)
    , m_reader(reader)
    , m_work(work)
    , m_clock(clock)
{
}

DictionaryLearner::~DictionaryLearner()
{
    stop();
}

void DictionaryLearner::watch(const QString& inserted)
{
    stop();
    const QString trimmed = inserted.trimmed();
    if (trimmed.isEmpty())
        return;
    m_inserted = inserted;
    m_original = trimmed;
    m_deadlineMs = m_clock.elapsedMs() + watchMs;
    m_timer = m_clock.repeating(tickMs, this, [this] { tick(); });
}

void DictionaryLearner::stop()
{
    if (m_timer)
        m_clock.cancel(*m_timer);
    m_timer.reset();
    ++m_epoch;
    m_reading.reset();
    m_inserted.clear();
    m_original.clear();
    m_anchor.reset();
    m_pending.reset();
}

void DictionaryLearner::tick()
{
    if (m_clock.elapsedMs() >= m_deadlineMs) {
        stop();
        return;
    }
    if (m_reading == m_epoch)
        return;
    m_reading = m_epoch;
    if (m_anchor)
        read();
    else
        locate();
}

void DictionaryLearner::locate()
{
    InsertedTextReader* reader = &m_reader;
    const quint64 epoch = m_epoch;
    m_work.run<std::optional<DictationAnchor>>(
        [reader, inserted = m_inserted, original = m_original]() -> std::optional<DictationAnchor> {
            // The pasted text as it stands at the caret; a field that dropped its trailing space
            // or line break still holds the trimmed text.
            if (auto anchor = reader->locateInsert(inserted))
                return anchor;
            return inserted == original ? std::nullopt : reader->locateInsert(original);
        },
        this, [this, epoch](const std::optional<DictationAnchor>& anchor) { located(epoch, anchor); });
}

void DictionaryLearner::read()
{
    InsertedTextReader* reader = &m_reader;
    const quint64 epoch = m_epoch;
    m_work.run<std::optional<QString>>(
        [reader, anchor = *m_anchor, inserted = m_inserted] { return reader->textAt(anchor, inserted); },
        this, [this, epoch](const std::optional<QString>& current) { readBack(epoch, current); });
}

void DictionaryLearner::located(quint64 epoch, const std::optional<DictationAnchor>& anchor)
{
    if (epoch != m_epoch)
        return;
    m_reading.reset();
    m_anchor = anchor;
}

void DictionaryLearner::readBack(quint64 epoch, const std::optional<QString>& text)
{
    if (epoch != m_epoch)
        return;
    m_reading.reset();
    const QString current = text.value_or(QString()).trimmed();
    if (current.isEmpty())
        return;
    if (current == m_original) {
        m_pending.reset(); // undone, or not edited yet
        return;
    }
    const qint64 now = m_clock.elapsedMs();
    if (current != m_pending) {
        m_pending = current;
        m_stableSinceMs = now;
        return;
    }
    if (now - m_stableSinceMs < settleMs)
        return;
    const QList<DictionaryItem> items = DictionaryEdits::learn(m_original, current);
    // One attempt per watch; stopped first, so a receiver may start the next watch.
    stop();
    if (!items.isEmpty())
        emit learned(items);
}
