#pragma once

#include "platform/floating_windows.h"

// EWMH hints sent on Qt's own X connection. Without one (another Qt platform) nothing can be
// asked, and translucency is taken to work: Wayland always composites.
class X11FloatingWindows final : public FloatingWindows {
public:
    // `outsideManager`: under XWayland, whose managers differ in what they make of the hints.
    explicit X11FloatingWindows(bool outsideManager = false)
        : m_outsideManager(outsideManager)
    {
    }

    bool keepOnAllWorkspaces(quintptr window) override;
    bool compositing(quintptr window) const override;
    bool outsideManager() const override { return m_outsideManager; }

private:
    const bool m_outsideManager;
};
