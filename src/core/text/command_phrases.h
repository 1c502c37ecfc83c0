#pragma once

#include "core/base/enum_table.h"

#include <QLatin1StringView>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

// What a spoken command on a selection asks for, grouped as the program handles it: a changed
// text of four kinds (each answered by the correction provider), an explanation, or a note.
enum class CommandGroup { Rewrite, Summarize, Translate, Correct, Explain, SaveToNotes };

namespace CommandGroupText {

// The text is the group's name in text keys ("commands.group.<name>").
inline constexpr EnumTable<CommandGroup>::Row rows[] = {
    {CommandGroup::Rewrite, QLatin1String("rewrite")},
    {CommandGroup::Summarize, QLatin1String("summarize")},
    {CommandGroup::Translate, QLatin1String("translate")},
    {CommandGroup::Correct, QLatin1String("correct")},
    {CommandGroup::Explain, QLatin1String("explain")},
    {CommandGroup::SaveToNotes, QLatin1String("notes")},
};
inline constexpr EnumTable<CommandGroup> table{rows, CommandGroup::Rewrite};

} // namespace CommandGroupText

// The German and English word tables that tell spoken commands apart, and example phrases of each
// group. The save-to-notes classifier reads the tables and the commands page shows the examples,
// so an example a user reads is one the classifier knows.
namespace CommandPhrases {

// A word that asks for a changed text, searched inside the normalized command; "fass " matches a
// word ending in "fass" followed by another word.
struct Stem {
    QStringView text;
    CommandGroup group;
};

// A phrase a user can say, in the language of its code ("en", "de").
struct Example {
    CommandGroup group;
    QLatin1StringView language;
    QStringView phrase;
};

// Lower case without accents, every run of anything but letters, marks and digits one space.
QString normalized(const QString& command);

// The group of the first stem, in table order, that the normalized command contains.
std::optional<CommandGroup> rewriteGroup(const QString& normalized);

// A word starting with one of these, or equal to one of the whole words, is a save verb.
std::span<const QStringView> saveVerbPrefixes();
std::span<const QStringView> saveVerbWords();
// Where a note goes, found as whole words in the normalized command.
std::span<const QStringView> destinations();
// Words that carry no content of their own around a save verb.
const QSet<QString>& frameWords();

// Every example, by group and language.
std::span<const Example> examples();
// At most limit examples of the group, the languages taking turns in the order given, so each
// gets its first phrase; a language no example is written in is passed over.
QList<Example> examples(CommandGroup group, const QStringList& languages, int limit);

} // namespace CommandPhrases
