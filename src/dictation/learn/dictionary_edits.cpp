#include "dictation/learn/dictionary_edits.h"

#include "dictation/learn/case_fold.h"

#include <QTextBoundaryFinder>
#include <QUuid>

#include <algorithm>
#include <vector>

namespace {

// A run of replaced words between two unchanged ones (or an edge of the text).
struct Hunk {
    QString heard;
    QString term;
};

struct Alignment {
    qsizetype common = 0; // length of the longest common subsequence
    QList<Hunk> hunks;
};

// Beyond this many cells of the alignment table the edit is a rewrite, not a correction, and the
// table would cost more memory than the watch is worth.
constexpr qsizetype maxCells = 2'000'000;

QStringList tokens(const QString& text)
{
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool space = i == text.size() || text.at(i).isSpace();
        if (space && start >= 0) {
            words.append(text.sliced(start, i - start));
            start = -1;
        } else if (!space && start < 0) {
            start = i;
        }
    }
    return words;
}

// Replaced words by the longest common subsequence; on a tie the walk back takes the added word first.
Alignment align(const QStringList& a, const QStringList& b)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    const qsizetype width = m + 1;
    std::vector<int> t(static_cast<size_t>((n + 1) * width), 0);
    const auto at = [&t, width](qsizetype i, qsizetype j) -> int& {
        return t[static_cast<size_t>(i * width + j)];
    };
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j)
            at(i, j) = a[i - 1] == b[j - 1] ? at(i - 1, j - 1) + 1 : std::max(at(i - 1, j), at(i, j - 1));
    }

    enum class Step { Same, Add, Remove };
    std::vector<std::pair<Step, QString>> steps;
    qsizetype i = n;
    qsizetype j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && a[i - 1] == b[j - 1]) {
            steps.emplace_back(Step::Same, QString());
            --i;
            --j;
        } else if (j > 0 && (i == 0 || at(i, j - 1) >= at(i - 1, j))) {
            steps.emplace_back(Step::Add, b[--j]);
        } else {
            steps.emplace_back(Step::Remove, a[--i]);
        }
    }

    Alignment alignment{.common = at(n, m), .hunks = {}};
    QList<Hunk>& hunks = alignment.hunks;
    QStringList removed;
    QStringList added;
    const auto flush = [&] {
        if (!removed.isEmpty() && !added.isEmpty())
            hunks.append({removed.join(u' '), added.join(u' ')});
        removed.clear();
        added.clear();
    };
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (step->first == Step::Same)
            flush();
        else
            (step->first == Step::Add ? added : removed).append(step->second);
    }
    flush();
    return alignment;
}

bool isEdgeMark(char32_t c)
{
    return QChar::isPunct(c) || QChar::isSymbol(c) || QChar::isSpace(c);
}

QString trimEdgeMarks(const QString& text)
{
    const QList<uint> points = text.toUcs4();
    qsizetype begin = 0;
    qsizetype end = points.size();
    while (begin < end && isEdgeMark(points[begin]))
        ++begin;
    while (end > begin && isEdgeMark(points[end - 1]))
        --end;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()) + begin, end - begin);
}

// User-perceived characters, so that "é" written with a combining accent is one, as is an emoji.
QStringList graphemes(const QString& text)
{
    QStringList clusters;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() >= 0) {
        clusters.append(text.sliced(start, finder.position() - start));
        start = finder.position();
    }
    return clusters;
}

qsizetype levenshtein(const QStringList& a, const QStringList& b)
{
    std::vector<qsizetype> row(static_cast<size_t>(b.size() + 1));
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[static_cast<size_t>(j)] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[static_cast<size_t>(j)];
            const qsizetype cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[static_cast<size_t>(j)] =
                std::min({above + 1, row[static_cast<size_t>(j - 1)] + 1, diagonal + cost});
            diagonal = above;
        }
    }
    return row[static_cast<size_t>(b.size())];
}

bool hasUpperCase(const QString& text)
{
    const QList<uint> points = text.toUcs4();
    return std::any_of(points.begin(), points.end(),
                       [](char32_t c) { return QChar::isUpper(c) || QChar::isTitleCase(c); });
}

} // namespace

std::optional<DictionaryItem> DictionaryEdits::item(const QString& heardText, const QString& termText)
{
    const QString heard = trimEdgeMarks(heardText);
    const QString term = trimEdgeMarks(termText);
    // The dictionary line "heard -> term" splits at the first arrow; such a heard form cannot be kept.
    if (heard.isEmpty() || term.isEmpty() || heard == term || heard.contains(u"->"))
        return std::nullopt;
    const QStringList heardChars = graphemes(heard);
    const QStringList termChars = graphemes(term);
    if (heardChars.size() > maxLength || termChars.size() > maxLength)
        return std::nullopt;
    const DictionaryItem accepted{QUuid::createUuid(), term, heard};
    if (CaseFold::equal(heard, term))
        return accepted;
    if (heardChars.size() < 3 || termChars.size() < 2)
        return std::nullopt;
    const qsizetype distance = levenshtein(graphemes(heard.toLower()), graphemes(term.toLower()));
    const qsizetype longer = std::max(heardChars.size(), termChars.size());
    // In whole numbers: distance / longer <= 0.45, or <= 0.6 when only the term has capitals.
    if (distance * 20 <= longer * 9)
        return accepted;
    if (!hasUpperCase(heard) && hasUpperCase(term) && distance * 5 <= longer * 3)
        return accepted;
    return std::nullopt;
}

QList<DictionaryItem> DictionaryEdits::learn(const QString& inserted, const QString& edited)
{
    const QStringList a = tokens(inserted);
    const QStringList b = tokens(edited);
    if (a.isEmpty() || b.isEmpty() || a == b)
        return {};

    // Some longest alignment keeps the unchanged words at both ends; only the middle needs the
    // table, so a long dictation with one corrected word costs a few cells.
    qsizetype prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const QStringList middleA = a.sliced(prefix, a.size() - prefix - suffix);
    const QStringList middleB = b.sliced(prefix, b.size() - prefix - suffix);
    if ((middleA.size() + 1) * (middleB.size() + 1) > maxCells)
        return {};

    const Alignment alignment = align(middleA, middleB);
    const qsizetype common = prefix + suffix + alignment.common;
    const qsizetype longest = std::max(a.size(), b.size());
    // Similarity common / longest below 0.7, in whole numbers; one substitution in a text of at most
    // six words is always looked at.
    const bool dissimilar = common * 10 < longest * 7;
    if (alignment.hunks.size() == 1 ? dissimilar && longest > 6 : alignment.hunks.isEmpty() || dissimilar)
        return {};
    QList<DictionaryItem> items;
    for (const Hunk& hunk : alignment.hunks) {
        if (auto learned = item(hunk.heard, hunk.term))
            items.append(*learned);
        if (items.size() == maxItems)
            break;
    }
    return items;
}
