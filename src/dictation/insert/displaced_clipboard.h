#pragma once

#include <QString>

#include <optional>

// Which clipboard text is worth keeping in the clipboard history once the inserter replaced it.
namespace DisplacedClipboard {

// Longer texts are dropped, as the history keeps whole texts.
constexpr qsizetype longestReported = 200000;

// The displaced text to report, or none when it is blank, too long or the same as its replacement.
std::optional<QString> worthReporting(const std::optional<QString>& displaced, const QString& replacement);

} // namespace DisplacedClipboard
