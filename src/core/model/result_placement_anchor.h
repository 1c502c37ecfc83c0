#pragma once

#include "core/base/enum_table.h"

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

// The top row first, each row leading to trailing.
inline constexpr EnumTable<ResultPlacementAnchor>::Row rows[] = {
    {ResultPlacementAnchor::TopLeading, QLatin1String("topLeading")},
    {ResultPlacementAnchor::TopCenter, QLatin1String("topCenter")},
    {ResultPlacementAnchor::TopTrailing, QLatin1String("topTrailing")},
    {ResultPlacementAnchor::BottomLeading, QLatin1String("bottomLeading")},
    {ResultPlacementAnchor::BottomCenter, QLatin1String("bottomCenter")},
    {ResultPlacementAnchor::BottomTrailing, QLatin1String("bottomTrailing")},
};
inline constexpr EnumTable<ResultPlacementAnchor> table{rows, ResultPlacementAnchor::TopCenter};

constexpr bool isTop(ResultPlacementAnchor anchor)
{
    return anchor == ResultPlacementAnchor::TopLeading || anchor == ResultPlacementAnchor::TopCenter ||
           anchor == ResultPlacementAnchor::TopTrailing;
}

} // namespace ResultPlacementAnchorText
