#pragma once

#include <optional>

// How strongly a control's fill shows in each state of interaction, as the opacity of the colour it
// is painted in: one such style per kind of control, read by KitButton's one painter of states.
// Pressed shows over hover, also after the pointer has left; a checked control keeps its checked
// fill where it has one.
struct StateFill {
    // The whole control, fill and content, while it is disabled.
    static constexpr double disabledOpacity = 0.45;

    double rest = 0;
    double hover = 0;
    double pressed = 0;
    std::optional<double> checked;

    double opacity(bool isChecked, bool isDown, bool hovering) const
    {
        if (isChecked && checked)
            return *checked;
        if (isDown)
            return pressed;
        return hovering ? hover : rest;
    }
};
