#include "core/text/busy_caption.h"

#include "core/base/plain_text.h"
#include "core/text/l10n.h"

#include <QTextBoundaryFinder>

#include <array>
#include <initializer_list>

namespace {

struct CaptionRow {
    std::initializer_list<const char16_t*> keywords;
    const char* key;
};

// Tried in order and the first hit wins, so "summarise and translate" reads as a summary.
const std::array<CaptionRow, 9> kRows{{
    {{u"zusammenfass", u"fass das", u"fass es", u"fass den", u"fass die", u"summar"},
     "overlay.action.summarize"},
    {{u"übersetz", u"uebersetz", u"translate", u"ins englische", u"ins deutsche", u"auf englisch",
      u"auf deutsch"},
     "overlay.action.translate"},
    {{u"kürz", u"kuerz", u"shorten", u"kürzer", u"kuerzer"}, "overlay.action.shorten"},
    {{u"stichpunkt", u"als liste", u"bullet"}, "overlay.action.list"},
    {{u"erklär", u"erklaer", u"explain"}, "overlay.action.explain"},
    {{u"korrigier", u"korrekt", u"proofread", u"rechtschreib"}, "overlay.action.proofread"},
    {{u"freundlicher", u"höflicher", u"hoeflicher"}, "overlay.action.friendly"},
    {{u"förmlich", u"foermlich", u"formaler"}, "overlay.action.formal"},
    {{u"formulier", u"umformulier", u"rephrase", u"rewrite", u"schreib um", u"schreibe um"},
     "overlay.action.rewrite"},
}};

constexpr int kLongestShown = 28;
constexpr int kKeptBeforeEllipsis = 27;

bool keepsInNormalized(char32_t c)
{
    if (c == U' ')
        return true;
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

} // namespace

QString BusyCaption::normalized(const QString& text)
{
    const QString folded = PlainText::fold(text);
    QString spaced;
    spaced.reserve(folded.size());
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const bool pair =
            folded[i].isHighSurrogate() && i + 1 < folded.size() && folded[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(folded[i], folded[i + 1]) : folded[i].unicode();
        if (keepsInNormalized(c))
            spaced.append(QStringView(folded).mid(i, pair ? 2 : 1));
        else
            spaced.append(u' ');
        i += pair ? 1 : 0;
    }
    return spaced.simplified();
}

int BusyCaption::graphemeCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

QString BusyCaption::leadingGraphemes(const QString& text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next == -1)
            break;
        end = next;
    }
    return text.left(end);
}

QString BusyCaption::forCommand(const QString& command)
{
    const QString t = normalized(command);
    for (const CaptionRow& row : kRows) {
        for (const char16_t* keyword : row.keywords) {
            if (t.contains(PlainText::fold(QString::fromUtf16(keyword))))
                return L10n::s(QString::fromLatin1(row.key));
        }
    }
    const QString spoken = command.trimmed();
    if (spoken.isEmpty())
        return L10n::s(QStringLiteral("overlay.rewrite"));
    if (graphemeCount(spoken) > kLongestShown)
        return leadingGraphemes(spoken, kKeptBeforeEllipsis) + u'…';
    return spoken;
}
