#include "core/model/dictionary_item.h"

#include "core/base/plain_text.h"

namespace {

// Trims Unicode white space (spaces, tabs and the other space separators) at both ends.
QString trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).isSpace())
        ++begin;
    while (end > begin && text.at(end - 1).isSpace())
        --end;
    return text.sliced(begin, end - begin).toString();
}

} // namespace

QList<DictionaryItem> DictionaryItem::parse(const QString& text)
{
    QList<DictionaryItem> items;
    for (const QString& piece : PlainText::nonEmptyLines(text)) {
        const QString line = trimSpaces(piece);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype arrow = line.indexOf(QLatin1String("->"));
        if (arrow < 0) {
            items.append({QUuid::createUuid(), line, QString()});
            continue;
        }
        const QString heard = trimSpaces(QStringView(line).first(arrow));
        const QString term = trimSpaces(QStringView(line).sliced(arrow + 2));
        if (!heard.isEmpty() && !term.isEmpty())
            items.append({QUuid::createUuid(), term, heard});
    }
    return items;
}
QString DictionaryItem::serialize(const QList<DictionaryItem>& items)
{
    QStringList lines;
    lines.reserve(items.size());
    for (const auto& item : items)
        lines.append(item.heardAs.isEmpty() ? item.term : item.heardAs + QStringLiteral(" -> ") + item.term);
    return lines.join(QLatin1Char('\n'));
}
