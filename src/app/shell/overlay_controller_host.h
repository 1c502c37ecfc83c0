#pragma once

#include "dictation/controller/overlay_host.h"

class OverlayController;

// The dictation's view of the floating widget.
class OverlayControllerHost final : public OverlayHost {
public:
    explicit OverlayControllerHost(OverlayController& overlay)
        : m_overlay(overlay)
    {
    }

    void reshape() override;
    bool panelHoldsFocus() const override;
    void resignFocus() override;

private:
    OverlayController& m_overlay;
};
