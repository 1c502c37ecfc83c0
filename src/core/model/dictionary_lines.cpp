#include "core/model/dictionary_lines.h"

namespace {

// The line breaks DictionaryItem::parse splits at; CR LF is one break.
bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\x0B' || c == u'\x0C' || c == u'\x85' || c == u'\x2028' ||
           c == u'\x2029';
}

QString lineOf(const DictionaryItem& item)
{
    return DictionaryItem::serialize({item});
}

} // namespace

DictionaryLines::DictionaryLines(const QString& text)
    : m_break(text.contains(u"\r\n") ? QStringLiteral("\r\n") : QStringLiteral("\n"))
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text.at(i)))
            continue;
        const qsizetype length =
            text.at(i) == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n' ? 2 : 1;
        m_lines.append({text.sliced(start, i - start), text.sliced(i, length)});
        i += length - 1;
        start = i + 1;
    }
    m_lines.append({text.sliced(start), QString()});

    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines.at(i).text.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        // The parser itself decides, so the entries can never disagree with what the engine reads.
        const QList<DictionaryItem> items = DictionaryItem::parse(m_lines.at(i).text);
        if (items.isEmpty())
            continue;
        const bool learned = i > 0 && m_lines.at(i - 1).text.trimmed() == learnedMark;
        m_entries.append({items.first(), learned});
        m_entryLines.append(i);
    }
}

QString DictionaryLines::added(const QList<DictionaryItem>& items, bool learned) const
{
    QList<Line> block;
    for (const DictionaryItem& item : items) {
        if (learned)
            block.append({learnedMark, m_break});
        block.append({lineOf(item), m_break});
    }
    if (block.isEmpty())
        return joined(m_lines);

    QList<Line> lines = m_lines;
    if (!m_entries.isEmpty()) {
        const qsizetype at = firstLineOf(0);
        lines.insert(at, block.size(), {});
        std::copy(block.cbegin(), block.cend(), lines.begin() + at);
    } else if (lines.size() == 1 && lines.first().text.isEmpty()) {
        block.last().end.clear();
        lines = block;
    } else if (lines.last().text.isEmpty()) {
        // The text ends with a line break: the block goes before the empty rest and keeps it.
        lines.insert(lines.size() - 1, block.size(), {});
        std::copy(block.cbegin(), block.cend(), lines.end() - 1 - block.size());
    } else {
        lines.last().end = m_break;
        block.last().end.clear();
        lines.append(block);
    }
    return joined(lines);
}

QString DictionaryLines::replaced(qsizetype entry, const DictionaryItem& item) const
{
    QList<Line> lines = m_lines;
    const qsizetype line = m_entryLines.at(entry);
    lines[line].text = lineOf(item);
    const qsizetype first = firstLineOf(entry);
    lines.remove(first, line - first);
    return joined(lines);
}

QString DictionaryLines::removed(qsizetype entry) const
{
    QList<Line> lines = m_lines;
    const qsizetype first = firstLineOf(entry);
    const qsizetype last = m_entryLines.at(entry);
    // The last line leaves no line break dangling after the one that is now last.
    if (lines.at(last).end.isEmpty() && first > 0)
        lines[first - 1].end.clear();
    lines.remove(first, last - first + 1);
    return joined(lines);
}

bool DictionaryLines::writable(const DictionaryItem& item)
{
    const QList<DictionaryItem> back = DictionaryItem::parse(lineOf(item));
    return back.size() == 1 && back.first().term == item.term && back.first().heardAs == item.heardAs;
}

QString DictionaryLines::joined(const QList<Line>& lines)
{
    QString text;
    for (const Line& line : lines)
        text += line.text + line.end;
    return text;
}

qsizetype DictionaryLines::firstLineOf(qsizetype entry) const
{
    return m_entryLines.at(entry) - (m_entries.at(entry).learned ? 1 : 0);
}
