#include "ui/overlay/placement/overlay_rules.h"

OverlayMode OverlayRules::targetMode(const std::optional<OverlayInputs>& in)
{
    if (!in)
        return OverlayMode::Collapsed;
    if (in->hasCard())
        return OverlayMode::Result;
    if (in->translateOpen)
        return OverlayMode::Menu;
    if (in->hovered || in->phase != Phase::Kind::Idle)
        return OverlayMode::Bar;
    return OverlayMode::Collapsed;
}

bool OverlayRules::shouldShowPanel(const std::optional<OverlayInputs>& in)
{
    if (!in || in->hasCard() || in->dragging || in->translateOpen || in->phase != Phase::Kind::Idle)
        return true;
    return in->showWidget;
}

bool OverlayRules::holdsHover(const OverlayInputs& in)
{
    switch (in.phase) {
    case Phase::Kind::Polishing:
    case Phase::Kind::Translating:
    case Phase::Kind::Listening:
    case Phase::Kind::Transcribing:
        return true;
    case Phase::Kind::Done:
    case Phase::Kind::Failed:
    case Phase::Kind::Notice:
    case Phase::Kind::Idle:
        break;
    }
    // A saved-note preview is not work: it closes by itself and must not pin the bar.
    return in.translateOpen || in.hasResult || in.hasPreview();
}

bool OverlayRules::hoverIsReleasable(const OverlayInputs& in)
{
    return in.hovered && in.phase == Phase::Kind::Idle && !in.translateOpen && !in.hasResult &&
           !in.hasPreview() && !in.dragging;
}

bool OverlayRules::isActive(const OverlayInputs& in)
{
    return in.hasResult || in.phase != Phase::Kind::Idle;
}
