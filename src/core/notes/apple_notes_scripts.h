#pragma once

#include "core/model/apple_notes_folder.h"

#include <QList>
#include <QString>

// The script texts sent to Notes and the parsing of their answers.
namespace AppleNotesScripts {

// A script string literal that carries the text unchanged, whatever it holds.
QString quoted(const QString& text);
// The body as Notes HTML: entities for & < >, line breaks as <br>, wrapped in a div.
QString htmlBody(const QString& text);

QString listFolders();
QString createNote(const QString& title, const QString& html, const QString& account, const QString& folder);
QString reveal(const QString& noteID, const QString& account, const QString& folder);

// One folder per "account<TAB>name" line; malformed lines, trash folders and repeats skipped.
QList<AppleNotesFolder> parseFolders(const QString& output);

} // namespace AppleNotesScripts
