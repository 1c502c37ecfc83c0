#include "ui/overlay/overlay_sizes.h"

#include "ui/overlay/dictation_preview_layout.h"

#include <cmath>

namespace {

// The preview card's chrome around the text: header, gap and footer.
constexpr qreal previewChrome = 38.5 + 6 + 18;

} // namespace

OverlaySizes::ResultSize OverlaySizes::resultSize(const QString& name)
{
    if (name == QLatin1String("compact"))
        return {.cardWidth = 400, .cardHeight = 440, .previewMaxWidth = 360, .previewMaxTextHeight = 280};
    if (name == QLatin1String("large"))
        return {.cardWidth = 640, .cardHeight = 680, .previewMaxWidth = 600, .previewMaxTextHeight = 460};
    return {.cardWidth = 520, .cardHeight = 560, .previewMaxWidth = 480, .previewMaxTextHeight = 360};
}

QSizeF OverlaySizes::panelSize(OverlayMode mode, const std::optional<OverlayInputs>& in,
                               const DictationPreviewLayout& layout)
{
    switch (mode) {
    case OverlayMode::Collapsed:
        return {64, 48};
    case OverlayMode::Bar:
        return {228, 72};
    case OverlayMode::Menu:
        return {236, 478};
    case OverlayMode::Result:
        break;
    }
    const ResultSize size = resultSize(in ? in->overlayResultSize : QString());
    if (in && in->hasNotePreview && !in->hasResult)
        return {320, 166};
    if (in && in->previewText) {
        const qreal width = layout.cardWidth(*in->previewText, size.previewMaxWidth);
        const qreal text = layout.textBlockHeight(*in->previewText, width, size.previewMaxTextHeight);
        return {std::ceil(width), std::ceil(text + previewChrome)};
    }
    return {size.cardWidth, size.cardHeight};
}
