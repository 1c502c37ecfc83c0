#include "core/storage/history_store.h"

#include "core/storage/json_list_store.h"

#include <QMutex>

namespace {

JsonListStore<HistoryEntry> store()
{
    return JsonListStore<HistoryEntry>(QStringLiteral("history.json"));
}

} // namespace

QByteArray HistoryStore::encode(const QList<HistoryEntry>& entries)
{
    // Every history entry has an object form, so this never comes back empty.
    return JsonListStore<HistoryEntry>::encode(entries).value_or(QByteArray());
}

std::optional<QList<HistoryEntry>> HistoryStore::decode(const QByteArray& bytes)
{
    return JsonListStore<HistoryEntry>::decode(bytes);
}

QList<HistoryEntry> HistoryStore::load()
{
    return store().load();
}

bool HistoryStore::save(const QList<HistoryEntry>& entries)
{
    // Every change rewrites the whole file; a long history mostly re-encodes entries seen before.
    static QMutex mutex;
    static EncodedList<HistoryEntry> encoded;
    QMutexLocker lock(&mutex);
    const std::optional<QByteArray> bytes = encoded.encode(entries);
    return bytes && store().write(*bytes);
}
