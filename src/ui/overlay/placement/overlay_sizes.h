#pragma once

#include "core/model/overlay_result_size.h"
#include "ui/overlay/placement/overlay_inputs.h"
#include "ui/overlay/placement/overlay_mode.h"
#include "ui/overlay/placement/pill_layout.h"

#include <QSizeF>

#include <optional>

class DictationPreviewLayout;

// The panel's size for each mode and the configured result size, and the cards' sizes inside it:
// the one place both the panel and the cards read them from.
namespace OverlaySizes {

struct ResultSize {
    qreal panelWidth;
    qreal panelHeight;
    // The result and choice cards' width and the preview card's widest.
    int cardWidth;
    // The highest a card's text block grows before it scrolls.
    int maxTextHeight;
};

// Room under a card in the panel, where the pill would stand.
constexpr int cardBottomPadding = 18;

ResultSize resultSize(OverlayResultSize size);
// Whole pixels: a fractional card height is rounded up so no text is cut.
QSizeF panelSize(OverlayMode mode, const std::optional<OverlayInputs>& in,
                 const DictationPreviewLayout& layout, const PillLayout& pill = PillLayout());

} // namespace OverlaySizes
