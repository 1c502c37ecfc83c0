#pragma once

#include "ui/overlay/overlay_inputs.h"
#include "ui/overlay/overlay_mode.h"

#include <QSizeF>
#include <QString>

#include <optional>

class DictationPreviewLayout;

// The panel's size for each mode and the configured result size ("compact", "regular", "large").
namespace OverlaySizes {

struct ResultSize {
    qreal cardWidth;
    qreal cardHeight;
    qreal previewMaxWidth;
    qreal previewMaxTextHeight;
};

// Any name but the three gives "regular".
ResultSize resultSize(const QString& name);
// Whole pixels: a fractional card height is rounded up so no text is cut.
QSizeF panelSize(OverlayMode mode, const std::optional<OverlayInputs>& in,
                 const DictationPreviewLayout& layout);

} // namespace OverlaySizes
