#pragma once

#include "dictation/controller/overlay_host.h"

class OverlayController;

// OverlayHost over OverlayController: the dictation's view of the floating widget.
class OverlayControllerAdapter final : public OverlayHost {
public:
    explicit OverlayControllerAdapter(OverlayController& overlay)
        : m_overlay(overlay)
    {
    }

    void reshape() override;
    bool panelHoldsFocus() const override;
    void resignFocus() override;

private:
    OverlayController& m_overlay;
};
