#pragma once

#include "core/model/history_entry.h"

#include <QList>

// The dictation history in "history.json": a JSON array, newest first.
namespace HistoryStore {

// Missing or undecodable files give an empty list; an undecodable one is kept aside before
// the next save replaces it.
QList<HistoryEntry> load();
// Writes the whole list atomically; false when nothing was written.
bool save(const QList<HistoryEntry>& entries);

QByteArray encode(const QList<HistoryEntry>& entries);
std::optional<QList<HistoryEntry>> decode(const QByteArray& bytes);

} // namespace HistoryStore
