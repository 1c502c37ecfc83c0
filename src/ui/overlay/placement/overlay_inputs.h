#pragma once

#include "core/model/phase.h"

#include <QString>

#include <optional>

class AppState;

// What the widget's rules, sizes and placement read of the shared state, copied once per use so
// they can be tested without a state. Defaults are the configuration's.
struct OverlayInputs {
    Phase::Kind phase = Phase::Kind::Idle;
    bool hovered = false;
    bool translateOpen = false;
    bool dragging = false;
    bool hasResult = false;
    bool hasNotePreview = false;
    // The dictation preview's text while one is shown.
    std::optional<QString> previewText{};

    bool showWidget = false;
    bool followActiveScreen = true;
    std::optional<double> widgetX{};
    std::optional<double> widgetY{};
    std::optional<qint64> widgetDisplayID{};
    QString overlayResultSize{};
    bool resultPlacementFixed = true;
    QString resultPlacementScreen{};
    QString resultPlacementAnchor{};

    static OverlayInputs of(const AppState& state);
    bool hasPreview() const { return previewText.has_value(); }
    // Any card: a result, a dictation preview or a saved-note preview.
    bool hasCard() const { return hasResult || hasPreview() || hasNotePreview; }
};
