#include "core/model/quenda_note.h"

#include "core/base/iso_date.h"
#include "core/base/json_fields.h"
#include "core/base/plain_text.h"

#include <QTextBoundaryFinder>

namespace {

constexpr qsizetype maxTitleClusters = 80;

// Where the first `clusters` grapheme clusters of text end, or -1 when it has no more than that.
qsizetype cutAfterClusters(const QString& text, qsizetype clusters)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype n = 0; n < clusters; ++n) {
        if (finder.toNextBoundary() < 0)
            return -1;
    }
    const qsizetype at = finder.position();
    return finder.toNextBoundary() < 0 ? -1 : at;
}

} // namespace

QString QuendaNote::listTitle() const
{
    const QString trimmed = title.trimmed();
    return trimmed.isEmpty() ? derivedTitle(body) : trimmed;
}

QString QuendaNote::derivedTitle(const QString& text)
{
    const QStringList lines = PlainText::nonEmptyLines(text);
    if (lines.isEmpty())
        return {};
    // Only the first non-empty line counts, even when it is blank.
    const QString line = lines.first().trimmed();
    const qsizetype cut = cutAfterClusters(line, maxTitleClusters);
    if (cut < 0)
        return line;
    return line.first(cut) + QChar(0x2026);
}

std::optional<QJsonObject> QuendaNote::toJson() const
{
    if (!created.isValid() || !updated.isValid())
        return std::nullopt;
    return QJsonObject{
        {QStringLiteral("id"), JsonText::uuid(id)},
        {QStringLiteral("created"), IsoDate::format(created)},
        {QStringLiteral("updated"), IsoDate::format(updated)},
        {QStringLiteral("title"), title},
        {QStringLiteral("body"), body},
    };
}

std::optional<QuendaNote> QuendaNote::fromJson(const QJsonObject& object)
{
    JsonFields f(object);
    QuendaNote note;
    note.id = f.requiredUuid(QStringLiteral("id"));
    const QString created = f.requiredString(QStringLiteral("created"));
    const QString updated = f.requiredString(QStringLiteral("updated"));
    note.title = f.requiredString(QStringLiteral("title"));
    note.body = f.requiredString(QStringLiteral("body"));
    if (f.failed())
        return std::nullopt;
    const auto createdDate = IsoDate::parse(created);
    const auto updatedDate = IsoDate::parse(updated);
    if (!createdDate || !updatedDate)
        return std::nullopt;
    note.created = *createdDate;
    note.updated = *updatedDate;
    return note;
}
