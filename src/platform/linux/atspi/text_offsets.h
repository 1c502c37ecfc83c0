#pragma once

#include <QStringView>

#include <optional>

// Conversions between UTF-16 positions (QString indices, what callers speak) and the positions
// an application reports. AT-SPI counts Unicode code points, but some toolkits hand their own
// UTF-16 indices through unchanged.
namespace TextOffsets {

enum class Unit { CodePoints, Utf16 };

// The application's position for UTF-16 position `utf16` of `text` (which must reach at least that
// far); none past the end or inside a surrogate pair, which no code point position can name.
std::optional<int> fromUtf16(Unit unit, QStringView text, int utf16);
// The UTF-16 position of the application's position `offset` in `text`; none past the end.
std::optional<int> toUtf16(Unit unit, QStringView text, int offset);
// The length of `text` in the application's unit.
int length(Unit unit, QStringView text);

} // namespace TextOffsets
