#include "dictation/commands/note_save_command.h"

#include <QSet>
#include <QStringList>

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>

namespace {

using namespace Qt::StringLiterals;

constexpr std::array saveVerbPrefixes{u"speicher", u"save",   u"ableg",  u"ubernimm",
                                      u"ubernehm", u"kopier", u"behalt", u"sicherstell"};
constexpr std::array saveVerbWords{u"copy", u"keep", u"add",     u"put",
                                   u"nimm", u"pack", u"sichere", u"sichern"};
constexpr std::array destinations{u"in meinen notizen", u"in die notizen", u"in den notizen", u"in my notes",
                                  u"to my notes",       u"into my notes",  u"into notes",     u"to notes"};
// Searched inside the text, so that stems match inflected and compound words; "fass " matches a
// word ending in "fass" followed by another word.
constexpr std::array rewriteStems{u"formulier", u"umschreib", u"zusammenfass", u"fass ",  u"kurz",
                                  u"ubersetz",  u"korrigier", u"rewrite",      u"summar", u"shorten",
                                  u"translate", u"proofread", u"erklar",       u"explain"};

const QSet<QString>& frameWords()
{
    static const QSet<QString> words = [] {
        const QString list =
            u"mir mich dir uns bitte mal doch einfach nun jetzt auch noch schnell das dem den "
            u"die der des ein eine einen einem einer es ihn sie ihnen du als in im meinen "
            u"meine meinem meiner mein notiz notizen note notes text markierung auswahl absatz "
            u"satz hier davon daraus diesen diese dieses auf zu zur zum von vom fur mit und "
            u"oder dann to my into the a an this it as please just selection"_s;
        const QStringList split = list.split(u' ');
        return QSet<QString>(split.begin(), split.end());
    }();
    return words;
}

// Full case folding without a locale: the tables are German and English, and a Turkish locale
// would fold the "I" of "NOTIZEN" to a dotless i that matches nothing.
QString caseFolded(const QString& text)
{
    const auto* source = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    UErrorCode error = U_ZERO_ERROR;
    const int32_t needed = u_strFoldCase(nullptr, 0, source, length, U_FOLD_CASE_DEFAULT, &error);
    if (error != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(error))
        return text.toCaseFolded();
    QString folded(needed, Qt::Uninitialized);
    error = U_ZERO_ERROR;
    u_strFoldCase(reinterpret_cast<UChar*>(folded.data()), needed, source, length, U_FOLD_CASE_DEFAULT,
                  &error);
    return U_FAILURE(error) ? text.toCaseFolded() : folded;
}

void appendCodePoint(QString& text, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        text.append(QChar(QChar::highSurrogate(c)));
        text.append(QChar(QChar::lowSurrogate(c)));
    } else {
        text.append(QChar(static_cast<char16_t>(c)));
    }
}

// Lower case without accents, every run of anything but letters, marks and digits one space.
// Classified by code point: a letter outside the BMP is one letter, not two surrogates.
QString normalize(const QString& instruction)
{
    const QString decomposed = caseFolded(instruction).normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    bool pendingSpace = false;
    for (const char32_t c : decomposed.toUcs4()) {
        if (QChar::category(c) == QChar::Mark_NonSpacing)
            continue; // the accent of a decomposed letter
        if (!QChar::isLetterOrNumber(c) && !QChar::isMark(c)) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (pendingSpace)
            out.append(u' ');
        pendingSpace = false;
        appendCodePoint(out, c);
    }
    return out;
}

template <typename Table> bool startsWithAny(const QString& word, const Table& prefixes)
{
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&word](const char16_t* prefix) { return word.startsWith(QStringView(prefix)); });
}

template <typename Table> bool equalsAny(const QString& word, const Table& words)
{
    return std::any_of(words.begin(), words.end(),
                       [&word](const char16_t* entry) { return word == QStringView(entry); });
}

bool isSaveVerb(const QString& word)
{
    return equalsAny(word, saveVerbWords) || startsWithAny(word, saveVerbPrefixes);
}

bool mentionsNotes(const QStringList& words)
{
    return std::any_of(words.begin(), words.end(),
                       [](const QString& w) { return w == u"notes"_s || w.startsWith(u"notiz"_s); });
}

// Whole words only: "begin my notes" holds the letters of "in my notes" but names no destination.
bool mentionsDestination(const QString& normalized)
{
    const QString padded = u' ' + normalized + u' ';
    return std::any_of(destinations.begin(), destinations.end(), [&padded](const char16_t* phrase) {
        return padded.contains(u' ' + QStringView(phrase) + u' ');
    });
}

bool rewriteIntent(const QString& normalized)
{
    return std::any_of(rewriteStems.begin(), rewriteStems.end(), [&normalized](const char16_t* stem) {
        return normalized.contains(QStringView(stem));
    });
}

} // namespace

std::optional<NoteSaveCommand::Kind> NoteSaveCommand::kind(const QString& instruction)
{
    const QString normalized = normalize(instruction);
    if (normalized.isEmpty())
        return std::nullopt;
    const QStringList words = normalized.split(u' ');
    if (!mentionsNotes(words))
        return std::nullopt;
    if (std::none_of(words.begin(), words.end(), isSaveVerb) && !mentionsDestination(normalized))
        return std::nullopt;
    if (rewriteIntent(normalized))
        return Kind::SaveAnswer;
    const bool onlyFrame = std::all_of(words.begin(), words.end(), [](const QString& word) {
        return frameWords().contains(word) || isSaveVerb(word);
    });
    return onlyFrame ? Kind::SaveSelection : Kind::SaveAnswer;
}
