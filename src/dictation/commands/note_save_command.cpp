#include "dictation/commands/note_save_command.h"

#include "core/text/command_phrases.h"

#include <QStringList>

#include <algorithm>

namespace {

using namespace Qt::StringLiterals;

bool isSaveVerb(const QString& word)
{
    const auto equals = [&word](QStringView entry) { return word == entry; };
    const auto starts = [&word](QStringView prefix) { return word.startsWith(prefix); };
    return std::ranges::any_of(CommandPhrases::saveVerbWords(), equals) ||
           std::ranges::any_of(CommandPhrases::saveVerbPrefixes(), starts);
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
    return std::ranges::any_of(CommandPhrases::destinations(), [&padded](QStringView phrase) {
        return padded.contains(u' ' + phrase + u' ');
    });
}

} // namespace

std::optional<NoteSaveCommand::Kind> NoteSaveCommand::kind(const QString& instruction)
{
    const QString normalized = CommandPhrases::normalized(instruction);
    if (normalized.isEmpty())
        return std::nullopt;
    const QStringList words = normalized.split(u' ');
    if (!mentionsNotes(words))
        return std::nullopt;
    if (std::none_of(words.begin(), words.end(), isSaveVerb) && !mentionsDestination(normalized))
        return std::nullopt;
    if (CommandPhrases::rewriteGroup(normalized))
        return Kind::SaveAnswer;
    const bool onlyFrame = std::all_of(words.begin(), words.end(), [](const QString& word) {
        return CommandPhrases::frameWords().contains(word) || isSaveVerb(word);
    });
    return onlyFrame ? Kind::SaveSelection : Kind::SaveAnswer;
}
