#pragma once

#include <QList>
#include <QString>

#include <optional>

// How large the overlay draws its result cards; stored as text in the configuration.
enum class OverlayResultSize { Compact, Regular, Large };

namespace OverlayResultSizeText {

// All sizes, smallest first.
const QList<OverlayResultSize>& all();
// "compact", "regular", "large".
QString rawValue(OverlayResultSize size);
// Exactly one of the three raw values, case-sensitive; anything else is absent.
std::optional<OverlayResultSize> fromRaw(const QString& raw);
// The overlay draws a stored value naming no size as regular.
OverlayResultSize fromStored(const QString& raw);

} // namespace OverlayResultSizeText
