#include "ui/overlay/placement/overlay_sizes.h"

#include "ui/overlay/placement/dictation_preview_layout.h"

#include <algorithm>

OverlaySizes::ResultSize OverlaySizes::resultSize(OverlayResultSize size)
{
    switch (size) {
    case OverlayResultSize::Compact:
        return {.panelWidth = 400, .panelHeight = 440, .cardWidth = 360, .maxTextHeight = 280};
    case OverlayResultSize::Regular:
        break;
    case OverlayResultSize::Large:
        return {.panelWidth = 640, .panelHeight = 680, .cardWidth = 600, .maxTextHeight = 460};
    }
    return {.panelWidth = 520, .panelHeight = 560, .cardWidth = 480, .maxTextHeight = 360};
}

QSizeF OverlaySizes::panelSize(OverlayMode mode, const std::optional<OverlayInputs>& in,
                               const DictationPreviewLayout& layout, const PillLayout& pill)
{
    switch (mode) {
    case OverlayMode::Collapsed:
        return {64, 48};
    case OverlayMode::Bar: {
        // Hands-free, the bar is wider: it says how to stop. A message wrapped in it makes it taller,
        // and a long one wider.
        const QSize message = in ? pill.messageBar(in->message) : QSize(0, PillLayout::barHeight);
        const qreal width = std::max(228, message.width() + 228 - PillLayout::wideBarWidth);
        return {in && in->handsFree && in->phase == Phase::Kind::Listening ? 456.0 : width,
                72.0 + message.height() - PillLayout::barHeight};
    }
    case OverlayMode::Menu:
        return {236, 478};
    case OverlayMode::Result:
        break;
    }
    const ResultSize size = resultSize(in ? in->overlayResultSize : OverlayInputs().overlayResultSize);
    if (in && in->hasNotePreview && !in->hasResult)
        return {320, 166};
    if (in && in->previewText) {
        const QSize card =
            layout.cardSize(*in->previewText, in->previewStatus, size.cardWidth, size.maxTextHeight);
        return {qreal(card.width()), qreal(card.height() + cardBottomPadding)};
    }
    return {size.panelWidth, size.panelHeight};
}
