#include "core/model/history_entry.h"

#include "core/base/iso_date.h"
#include "core/base/json_fields.h"

#include <QSet>

QJsonObject HistoryEntry::toJson() const
{
    QJsonObject o{
        {QStringLiteral("id"), JsonText::uuid(id)},
        {QStringLiteral("date"), IsoDate::format(date)},
        {QStringLiteral("raw"), raw},
        {QStringLiteral("text"), text},
    };
    if (duration)
        o.insert(QStringLiteral("duration"), *duration);
    if (app)
        o.insert(QStringLiteral("app"), *app);
    if (wasCommand)
        o.insert(QStringLiteral("wasCommand"), *wasCommand);
    if (kind)
        o.insert(QStringLiteral("kind"), *kind);
    if (serverFailure)
        o.insert(QStringLiteral("serverFailure"), *serverFailure);
    return o;
}

std::optional<HistoryEntry> HistoryEntry::fromJson(const QJsonObject& object)
{
    JsonFields f(object);
    HistoryEntry e;
    e.id = f.requiredUuid(QStringLiteral("id"));
    const QString date = f.requiredString(QStringLiteral("date"));
    e.raw = f.requiredString(QStringLiteral("raw"));
    e.text = f.requiredString(QStringLiteral("text"));
    e.duration = f.number(QStringLiteral("duration"));
    e.app = f.string(QStringLiteral("app"));
    e.wasCommand = f.boolean(QStringLiteral("wasCommand"));
    e.kind = f.string(QStringLiteral("kind"));
    e.serverFailure = f.string(QStringLiteral("serverFailure"));
    if (f.failed())
        return std::nullopt;
    const auto parsed = IsoDate::parse(date);
    if (!parsed)
        return std::nullopt;
    e.date = *parsed;
    return e;
}

QList<HistoryEntry> HistoryEntry::withUniqueIds(QList<HistoryEntry> entries)
{
    QSet<QUuid> seen;
    seen.reserve(entries.size());
    for (HistoryEntry& entry : entries) {
        while (seen.contains(entry.id))
            entry.id = QUuid::createUuid();
        seen.insert(entry.id);
    }
    return entries;
}
