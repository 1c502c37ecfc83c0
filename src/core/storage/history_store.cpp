#include "core/storage/history_store.h"

#include "core/storage/json_list_store.h"

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
    return store().save(entries).ok();
}
