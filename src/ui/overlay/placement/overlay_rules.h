#pragma once

#include "ui/overlay/placement/overlay_inputs.h"
#include "ui/overlay/placement/overlay_mode.h"

#include <optional>

// The widget's decisions that read the state alone. An absent state is one that is gone.
namespace OverlayRules {

// The size class the state asks for now.
OverlayMode targetMode(const std::optional<OverlayInputs>& in);
// Whether the panel belongs on screen; hovering alone does not show a hidden widget.
bool shouldShowPanel(const std::optional<OverlayInputs>& in);
// Work in progress that keeps the widget hovered after the pointer left.
bool holdsHover(const OverlayInputs& in);
// A hover that has nothing left to keep it: idle, no menu, result, preview or drag.
bool hoverIsReleasable(const OverlayInputs& in);
// Whether the widget is in use and so follows the active screen.
bool isActive(const OverlayInputs& in);

} // namespace OverlayRules
