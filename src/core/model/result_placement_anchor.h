#pragma once

#include <QList>
#include <QString>

#include <optional>

// Where on its screen a result card stands when the placement is fixed; stored as text.
enum class ResultPlacementAnchor {
    TopLeading,
    TopCenter,
    TopTrailing,
    BottomLeading,
    BottomCenter,
    BottomTrailing
};

namespace ResultPlacementAnchorText {

// All anchors, the top row first, each row leading to trailing.
const QList<ResultPlacementAnchor>& all();
// "topLeading", "topCenter", ..., "bottomTrailing".
QString rawValue(ResultPlacementAnchor anchor);
// Exactly one of the six raw values, case-sensitive; anything else is absent.
std::optional<ResultPlacementAnchor> fromRaw(const QString& raw);
// The overlay places a stored value naming no anchor at the bottom centre.
ResultPlacementAnchor fromStored(const QString& raw);
bool isTop(ResultPlacementAnchor anchor);

} // namespace ResultPlacementAnchorText
