#pragma once

#include <optional>

// How strongly a control's fill shows in each state of interaction, as the opacity of the colour it
// is painted in: one such style per kind of control, read by KitButton's one painter of states.
// Pressed shows over hover, also after the pointer has left; a chosen control (checked, or the
// entry of the page shown) keeps its chosen fill where it has one.
struct StateFill {
    // The whole control, fill and content, while it is disabled.
    static constexpr double disabledOpacity = 0.45;

    double rest = 0;
    double hover = 0;
    double pressed = 0;
    std::optional<double> chosen;

    double opacity(bool isChosen, bool isDown, bool hovering) const
    {
        if (isChosen && chosen)
            return *chosen;
        if (isDown)
            return pressed;
        return hovering ? hover : rest;
    }
};
