#include "core/text/command_phrases.h"

#include <QStringList>

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>

namespace {

using namespace Qt::StringLiterals;
using G = CommandGroup;

// clang-format off
constexpr CommandPhrases::Stem stems[] = {
    {u"formulier", G::Rewrite},
    {u"umschreib", G::Rewrite},
    {u"zusammenfass", G::Summarize},
    {u"fass ", G::Summarize},
    {u"kurz", G::Rewrite},
    {u"ubersetz", G::Translate},
    {u"korrigier", G::Correct},
    {u"rewrite", G::Rewrite},
    {u"summar", G::Summarize},
    {u"shorten", G::Rewrite},
    {u"shorter", G::Rewrite},
    {u"translate", G::Translate},
    {u"proofread", G::Correct},
    {u"erklar", G::Explain},
    {u"explain", G::Explain},
};
// clang-format on

constexpr QStringView prefixes[] = {u"speicher", u"save",   u"ableg",  u"ubernimm",
                                    u"ubernehm", u"kopier", u"behalt", u"sicherstell"};
constexpr QStringView wholeWords[] = {u"copy", u"keep", u"add",     u"put",
                                      u"nimm", u"pack", u"sichere", u"sichern"};
constexpr QStringView destinationPhrases[] = {u"in meinen notizen", u"in die notizen", u"in den notizen",
                                              u"in my notes",       u"to my notes",    u"into my notes",
                                              u"into notes",        u"to notes"};

// clang-format off
// Two or three per group and language; each is what the classifier takes for its group.
constexpr CommandPhrases::Example exampleRows[] = {
    {G::Rewrite, "en"_L1, u"Rewrite this more formally"},
    {G::Rewrite, "en"_L1, u"Shorten this to two sentences"},
    {G::Rewrite, "en"_L1, u"Make it shorter"},
    {G::Rewrite, "de"_L1, u"Formuliere das freundlicher"},
    {G::Rewrite, "de"_L1, u"Mach das kürzer"},
    {G::Summarize, "en"_L1, u"Summarise this in three bullet points"},
    {G::Summarize, "en"_L1, u"Summarise the main points"},
    {G::Summarize, "de"_L1, u"Fass das in zwei Sätzen zusammen"},
    {G::Summarize, "de"_L1, u"Schreib eine Zusammenfassung"},
    {G::Translate, "en"_L1, u"Translate this into English"},
    {G::Translate, "en"_L1, u"Translate this to French"},
    {G::Translate, "de"_L1, u"Übersetze das ins Englische"},
    {G::Translate, "de"_L1, u"Übersetz das auf Spanisch"},
    {G::Correct, "en"_L1, u"Proofread this"},
    {G::Correct, "en"_L1, u"Proofread and fix the grammar"},
    {G::Correct, "de"_L1, u"Korrigiere die Rechtschreibung"},
    {G::Correct, "de"_L1, u"Korrigier das bitte"},
    {G::Explain, "en"_L1, u"Explain this in simple words"},
    {G::Explain, "en"_L1, u"Explain what this means"},
    {G::Explain, "de"_L1, u"Erkläre mir das"},
    {G::Explain, "de"_L1, u"Erklär das einfacher"},
    {G::SaveToNotes, "en"_L1, u"Save this to my notes"},
    {G::SaveToNotes, "en"_L1, u"Put it in my notes, please"},
    {G::SaveToNotes, "en"_L1, u"Summarise this into my notes"},
    {G::SaveToNotes, "de"_L1, u"Speichere das in meinen Notizen"},
    {G::SaveToNotes, "de"_L1, u"In die Notizen"},
    {G::SaveToNotes, "de"_L1, u"Fass das zusammen und speichere es in den Notizen"},
};
// clang-format on

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

} // namespace

// Classified by code point: a letter outside the BMP is one letter, not two surrogates.
QString CommandPhrases::normalized(const QString& command)
{
    const QString decomposed = caseFolded(command).normalized(QString::NormalizationForm_D);
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

std::optional<CommandGroup> CommandPhrases::rewriteGroup(const QString& normalized)
{
    for (const Stem& stem : stems) {
        if (normalized.contains(stem.text))
            return stem.group;
    }
    return std::nullopt;
}

std::span<const QStringView> CommandPhrases::saveVerbPrefixes()
{
    return prefixes;
}

std::span<const QStringView> CommandPhrases::saveVerbWords()
{
    return wholeWords;
}

std::span<const QStringView> CommandPhrases::destinations()
{
    return destinationPhrases;
}

const QSet<QString>& CommandPhrases::frameWords()
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

std::span<const CommandPhrases::Example> CommandPhrases::examples()
{
    return exampleRows;
}

QList<CommandPhrases::Example> CommandPhrases::examples(CommandGroup group, const QStringList& languages,
                                                        int limit)
{
    QList<QList<Example>> byLanguage;
    for (const QString& language : languages) {
        QList<Example> own;
        for (const Example& example : exampleRows) {
            if (example.group == group && example.language == language)
                own.append(example);
        }
        byLanguage.append(own);
    }
    // Taken in turns, so that every language of the user gets its first phrase.
    QList<Example> chosen;
    for (qsizetype turn = 0; chosen.size() < limit; ++turn) {
        const qsizetype before = chosen.size();
        for (const QList<Example>& own : byLanguage) {
            if (turn < own.size() && chosen.size() < limit)
                chosen.append(own.at(turn));
        }
        if (chosen.size() == before)
            break;
    }
    // Read in the languages' order, each language's phrases together.
    std::stable_sort(chosen.begin(), chosen.end(), [&languages](const Example& a, const Example& b) {
        return languages.indexOf(a.language) < languages.indexOf(b.language);
    });
    return chosen;
}
