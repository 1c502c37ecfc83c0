#pragma once

#include <QString>

// The short caption the overlay shows while a spoken command works on a selection.
namespace BusyCaption {

// The localised action name of the first known keyword in command, else the command itself cut
// to 28 user-perceived characters, else the generic rewrite text for an empty command.
QString forCommand(const QString& command);
// Case and accents folded, everything but letters, digits and marks turned into single spaces.
QString normalized(const QString& text);
// The first count grapheme clusters of text, so a cut never splits an emoji or an accent.
QString leadingGraphemes(const QString& text, int count);
int graphemeCount(const QString& text);

} // namespace BusyCaption
