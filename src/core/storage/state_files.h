#pragma once

#include "core/config/quenda_config.h"
#include "core/model/history_entry.h"
#include "core/model/quenda_note.h"

#include <QList>

// Where the configuration, the history and the own notes last from one run to the next. The
// composition root picks the files; a run that must leave the user's files alone gets ones that
// keep nothing.
class StateFiles {
public:
    virtual ~StateFiles() = default;

    virtual QuendaConfig loadConfig() = 0;
    // True when the configuration was written: only then is the user told it was saved.
    virtual bool saveConfig(const QuendaConfig& config) = 0;
    virtual QList<HistoryEntry> loadHistory() = 0;
    virtual void saveHistory(const QList<HistoryEntry>& entries) = 0;
    virtual QList<QuendaNote> loadNotes() = 0;
    // False when a write failed: the notes then live only in memory until a later write succeeds.
    virtual bool saveNotes(const QList<QuendaNote>& notes) = 0;
};

// "config.json", "history.json" and "notes.json" in the support folder; failed writes go to the
// timing log.
class SupportFolderFiles final : public StateFiles {
public:
    QuendaConfig loadConfig() override;
    bool saveConfig(const QuendaConfig& config) override;
    QList<HistoryEntry> loadHistory() override;
    void saveHistory(const QList<HistoryEntry>& entries) override;
    QList<QuendaNote> loadNotes() override;
    bool saveNotes(const QList<QuendaNote>& notes) override;
};

// The demonstration configuration, no history and no notes; every save writes nothing.
class DemoFiles final : public StateFiles {
public:
    QuendaConfig loadConfig() override { return QuendaConfig::snapshotDemo(); }
    // Nothing is written, so nothing is reported saved.
    bool saveConfig(const QuendaConfig&) override { return false; }
    QList<HistoryEntry> loadHistory() override { return {}; }
    void saveHistory(const QList<HistoryEntry>&) override {}
    QList<QuendaNote> loadNotes() override { return {}; }
    // Keeping nothing is by design, not a failure the user must hear of.
    bool saveNotes(const QList<QuendaNote>&) override { return true; }
};
