#include "history_store.h"

#include "json_file.h"
#include "run_mode.h"
#include "support_paths.h"

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
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    const QJsonArray array = doc.array();
    QList<HistoryEntry> entries;
    entries.reserve(array.size());
    for (const auto& value : array) {
        if (!value.isObject())
            return std::nullopt;
        auto entry = HistoryEntry::fromJson(value.toObject());
        if (!entry)
            return std::nullopt;
        entries.append(std::move(*entry));
    }
    return entries;
}

QList<HistoryEntry> HistoryStore::load()
{
    if (RunMode::isSnapshot())
        return {};
    const QString path = historyPath();
    const auto file = JsonFile::read(path);
    if (file.status == JsonFile::ReadStatus::Missing)
        return {};
    if (file.status == JsonFile::ReadStatus::Ok) {
        if (auto entries = decode(file.bytes))
            return *entries;
    }
    JsonFile::markUndecodable(path);
    return {};
}

bool HistoryStore::save(const QList<HistoryEntry>& entries)
{
    if (RunMode::isSnapshot())
        return false;
    return JsonFile::writeAtomically(historyPath(), encode(entries));
}
