#pragma once

#include "core/model/dictation_preview.h"
#include "core/model/overlay_result_size.h"
#include "core/model/phase.h"
#include "core/model/result_placement_anchor.h"

#include <QString>

#include <optional>

class AppState;

// What the widget's rules, sizes and placement read of the shared state, copied once per use so
// they can be tested without a state. Without a state the views draw a regular card at the bottom
// centre.
struct OverlayInputs {
    Phase::Kind phase = Phase::Kind::Idle;
    bool handsFree = false;
    bool hovered = false;
    bool translateOpen = false;
    bool dragging = false;
    bool hasResult = false;
    bool hasNotePreview = false;
    // The failed or notice message the bar shows; empty in every other phase.
    QString message{};
    // The dictation preview's text while one is shown.
    std::optional<QString> previewText{};
    DictationPreviewStatus previewStatus = DictationPreviewStatus::Working;

    bool showWidget = false;
    bool followActiveScreen = true;
    std::optional<double> widgetX{};
    std::optional<double> widgetY{};
    std::optional<qint64> widgetDisplayID{};
    OverlayResultSize overlayResultSize = OverlayResultSize::Regular;
    bool resultPlacementFixed = true;
    QString resultPlacementScreen{};
    ResultPlacementAnchor resultPlacementAnchor = ResultPlacementAnchor::BottomCenter;

    static OverlayInputs of(const AppState& state);
    bool hasPreview() const { return previewText.has_value(); }
    // Any card: a result, a dictation preview or a saved-note preview.
    bool hasCard() const { return hasResult || hasPreview() || hasNotePreview; }
};
