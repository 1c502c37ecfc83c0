#pragma once

class QString;

namespace ClipboardText {

// Puts text on the desktop's clipboard as plain text, dropping every type that was there.
void copy(const QString& text);

} // namespace ClipboardText
