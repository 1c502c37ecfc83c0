#pragma once

#include "core/base/enum_table.h"

// How large the overlay draws its result cards; stored as text in the configuration.
enum class OverlayResultSize { Compact, Regular, Large };

namespace OverlayResultSizeText {

// Smallest first.
inline constexpr EnumTable<OverlayResultSize>::Row rows[] = {
    {OverlayResultSize::Compact, QLatin1String("compact")},
    {OverlayResultSize::Regular, QLatin1String("regular")},
    {OverlayResultSize::Large, QLatin1String("large")},
};
inline constexpr EnumTable<OverlayResultSize> table{rows, OverlayResultSize::Large};

} // namespace OverlayResultSizeText
