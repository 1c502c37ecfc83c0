#include "core/storage/history_store.h"

#include "core/base/json_file.h"
#include "core/base/run_mode.h"
#include "core/base/support_paths.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
QString historyPath()
{
    return SupportPaths::file(QStringLiteral("history.json"));
}
} // namespace

QByteArray HistoryStore::encode(const QList<HistoryEntry>& entries)
{
    QJsonArray array;
    for (const auto& entry : entries)
        array.append(entry.toJson());
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

std::optional<QList<HistoryEntry>> HistoryStore::decode(const QByteArray& bytes)
{
    return JsonFile::decodeArrayDocument<HistoryEntry>(bytes, &HistoryEntry::fromJson);
}

QList<HistoryEntry> HistoryStore::load()
{
    if (RunMode::isSnapshot())
        return {};
    return JsonFile::load(historyPath(), &HistoryStore::decode).value_or(QList<HistoryEntry>());
}

bool HistoryStore::save(const QList<HistoryEntry>& entries)
{
    if (RunMode::isSnapshot())
        return false;
    return JsonFile::writeAtomically(historyPath(), encode(entries));
}
