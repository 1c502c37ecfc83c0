#pragma once

#include "core/base/clock.h"
#include "core/model/dictionary_item.h"
#include "dictation/learn/dictation_anchor.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class InsertedTextReader;
class WorkQueue;

// Watches a text just pasted into another application for the user's hand corrections and learns
// misheard words from them once the edit has settled. One watch at a time; lives on the main
// thread, reads the field on the work queue.
class DictionaryLearner final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictionaryLearner)

public:
    static constexpr int tickMs = 450;
    static constexpr int watchMs = 40'000;
    // The edited text must read the same for this long before it is compared.
    static constexpr int settleMs = 1'200;

    // `reader` must outlive the jobs this learner posts to `work`.
    DictionaryLearner(InsertedTextReader& reader, WorkQueue& work, Clock& clock, QObject* parent = nullptr);
    ~DictionaryLearner() override;

    // Starts watching `inserted`, which was just pasted at the caret of the focused field; ends any
    // earlier watch. Does nothing for blank text.
    void watch(const QString& inserted);
    // Ends the watch; a read under way is dropped when it comes back.
    void stop();
    bool isWatching() const { return m_timer.has_value(); }

signals:
    // Entries learned from a settled edit; the watch has ended.
    void learned(const QList<DictionaryItem>& items);

private:
    void tick();
    void locate();
    void read();
    void located(quint64 epoch, const std::optional<DictationAnchor>& anchor);
    void readBack(quint64 epoch, const std::optional<QString>& current);

    InsertedTextReader& m_reader;
    WorkQueue& m_work;
    Clock& m_clock;
    std::optional<Clock::TimerId> m_timer;
    // Rises at every stop; a read that comes back under an older epoch belongs to a finished watch.
    quint64 m_epoch = 0;
    // The epoch of the read under way; ticks wait for it rather than pile reads on a slow field.
    std::optional<quint64> m_reading;
    QString m_inserted; // as pasted, to find it at the caret
    QString m_original; // trimmed, to compare with
    qint64 m_deadlineMs = 0;
    std::optional<DictationAnchor> m_anchor;
    std::optional<QString> m_pending;
    qint64 m_stableSinceMs = 0;
};
