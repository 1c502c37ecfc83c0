#include "dictionary_item.h"

namespace {

bool isNewline(QChar c)
{
    switch (c.unicode()) {
    case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x85: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

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
    qsizetype start = 0;
    const auto takeLine = [&](qsizetype end) {
        const QString line = trimSpaces(QStringView(text).sliced(start, end - start));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            return;
        const qsizetype arrow = line.indexOf(QLatin1String("->"));
        if (arrow < 0) {
            items.append({QUuid::createUuid(), line, QString()});
            return;
        }
        const QString heard = trimSpaces(QStringView(line).first(arrow));
        const QString term = trimSpaces(QStringView(line).sliced(arrow + 2));
        if (!heard.isEmpty() && !term.isEmpty())
            items.append({QUuid::createUuid(), term, heard});
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isNewline(text.at(i))) {
            takeLine(i);
            start = i + 1;
        }
    }
    takeLine(text.size());
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
