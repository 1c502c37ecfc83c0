#include "core/storage/state_files.h"

#include "core/base/timing.h"
#include "core/storage/history_store.h"
#include "core/storage/note_store.h"

QuendaConfig SupportFolderFiles::loadConfig()
{
    return QuendaConfig::load();
}

bool SupportFolderFiles::saveConfig(const QuendaConfig& config)
{
    const bool saved = config.save();
    if (!saved)
        Timing::mark(QStringLiteral("config: saving config.json failed"));
    return saved;
}

QList<HistoryEntry> SupportFolderFiles::loadHistory()
{
    return HistoryStore::load();
}

void SupportFolderFiles::saveHistory(const QList<HistoryEntry>& entries)
{
    if (!HistoryStore::save(entries))
        Timing::mark(QStringLiteral("history: saving history.json failed"));
}

QList<QuendaNote> SupportFolderFiles::loadNotes()
{
    return NoteStore::load();
}

bool SupportFolderFiles::saveNotes(const QList<QuendaNote>& notes)
{
    return NoteStore::save(notes);
}
