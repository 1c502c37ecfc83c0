#include "core/text/caret_context.h"

namespace {

bool isBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029);
}

bool isBlank(QChar c)
{
    return c.isSpace() || isBreak(c);
}

// Marks that open: nothing is spaced after them.
bool isOpener(QChar c)
{
    return QStringView(u"([{<“‘«‹„‚¿¡").contains(c);
}

bool isSentenceEnd(QChar c)
{
    return QStringView(u".!?…").contains(c);
}

// Marks that close what came before them: nothing is spaced before them.
bool isCloser(QChar c)
{
    return QStringView(u",.;:!?…)]}>”’»›%").contains(c);
}

bool isStraightQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

// A straight quote opens where it follows nothing, a space or another opener.
bool opensAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (isOpener(c))
        return true;
    if (!isStraightQuote(c))
        return false;
    return i == 0 || isBlank(text[i - 1]) || isOpener(text[i - 1]);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'\'' || c == u'’';
}

qsizetype wordEnd(const QString& text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && isWordChar(text[end]))
        ++end;
    return end;
}

// One of the terms stands at `at` as a whole word, written as it is there.
bool termAt(const QString& text, qsizetype at, const QStringList& terms)
{
    for (const QString& term : terms) {
        if (term.isEmpty() || !QStringView(text).sliced(at).startsWith(term))
            continue;
        const qsizetype end = at + term.size();
        if (end == text.size() || !isWordChar(text[end]) || !isWordChar(term.back()))
            return true;
    }
    return false;
}

// The pronoun "I", alone or with a contraction ("I'm", "I’ll").
bool isPronounI(QStringView word)
{
    return word == u"I" || word.startsWith(u"I'") || word.startsWith(u"I’");
}

} // namespace

CaretContext CaretContext::after(QStringView before, bool fromFieldStart)
{
    CaretContext context;
    if (before.isEmpty()) {
        if (fromFieldStart)
            context.sentence = Sentence::Starts;
        return context;
    }
    context.spaceFirst = !isBlank(before.back()) && !opensAt(before, before.size() - 1);

    qsizetype i = before.size() - 1;
    while (i >= 0 && (isBlank(before[i]) || opensAt(before, i))) {
        if (isBreak(before[i])) {
            context.sentence = Sentence::Starts;
            return context;
        }
        --i;
    }
    if (i < 0) {
        if (fromFieldStart)
            context.sentence = Sentence::Starts;
        return context;
    }
    // A sentence may end inside its closing quote or bracket: `he said "no."` or `(see above.)`.
    while (i > 0 && !isSentenceEnd(before[i]) && (isCloser(before[i]) || isStraightQuote(before[i])) &&
           !QStringView(u",;:").contains(before[i]))
        --i;
    context.sentence = isSentenceEnd(before[i]) ? Sentence::Starts : Sentence::Continues;
    return context;
}

QString CaretContext::cased(const QString& text, const QStringList& keep) const
{
    if (sentence == Sentence::Unknown)
        return text;
    qsizetype first = 0;
    while (first < text.size() && !text[first].isLetterOrNumber())
        ++first;
    if (first == text.size() || !text[first].isLetter() || termAt(text, first, keep))
        return text;
    const QStringView word = QStringView(text).sliced(first, wordEnd(text, first) - first);
    QString result = text;
    if (sentence == Sentence::Starts) {
        if (text[first].isLower())
            result[first] = text[first].toUpper();
        return result;
    }
    if (isPronounI(word))
        return text;
    for (qsizetype i = 1; i < word.size(); ++i)
        if (word[i].isUpper())
            return text;
    result[first] = text[first].toLower();
    return result;
}

QString CaretContext::spaced(const QString& text) const
{
    if (!spaceFirst || text.isEmpty() || isBlank(text.front()) || isCloser(text.front()))
        return text;
    return u' ' + text;
}
