#pragma once

// What the dictation needs of the overlay panel beyond the shared state it follows.
class OverlayHost {
public:
    virtual ~OverlayHost() = default;

    // Sizes and places the panel for what the state now asks, without waiting for its own update.
    virtual void reshape() = 0;
    virtual bool panelHoldsFocus() const = 0;
    // Gives the keyboard focus back, so a write lands in the remembered field, not the panel.
    virtual void resignFocus() = 0;
};
