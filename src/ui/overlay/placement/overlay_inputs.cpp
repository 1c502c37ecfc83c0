#include "ui/overlay/placement/overlay_inputs.h"

#include "core/state/app_state.h"

OverlayInputs OverlayInputs::of(const AppState& state)
{
    const QuendaConfig& config = state.config();
    const auto& preview = state.dictationPreview();
    return {
        .phase = state.phase().kind(),
        .handsFree = state.handsFree(),
        .hovered = state.widgetHovered(),
        .translateOpen = state.widgetTranslateOpen(),
        .dragging = state.widgetDragging(),
        .hasResult = state.overlayResult().has_value(),
        .hasNotePreview = state.notePreview().has_value(),
        .message = state.phase().message(),
        .previewText = preview ? std::optional<QString>(preview->text) : std::nullopt,
        .previewStatus = preview ? preview->status : DictationPreviewStatus::Working,
        .showWidget = config.showWidget,
        .followActiveScreen = config.widgetFollowActiveScreen,
        .widgetX = config.widgetX,
        .widgetY = config.widgetY,
        .widgetDisplayID = config.widgetDisplayID,
        .overlayResultSize = config.overlayResultSize,
        .resultPlacementFixed = config.resultPlacementFixed,
        .resultPlacementScreen = config.resultPlacementScreen,
        .resultPlacementAnchor = config.resultPlacementAnchor,
    };
}
