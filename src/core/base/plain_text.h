#pragma once

#include <QString>
#include <QStringList>

// Small text helpers shared by the dictionary, notes and the style catalogue.
namespace PlainText {

// The non-empty lines of a text, split at every kind of line break (CR LF counts once).
QStringList nonEmptyLines(const QString& text);
// Case and diacritics folded, so "CÜRSOR" and "Cursor" compare alike.
QString fold(const QString& text);

} // namespace PlainText
