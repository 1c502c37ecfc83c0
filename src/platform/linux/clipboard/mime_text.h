#pragma once

#include <QMimeData>
#include <QString>

#include <optional>

// The text/plain text when it holds more than white space, else the text of the HTML on offer when
// that does (Pasteboard::plainText). Rich text (RTF) is not read: the programs that offer it on
// Linux offer text/plain beside it.
std::optional<QString> readableText(const QMimeData& mime);
