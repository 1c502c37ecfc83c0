#pragma once

#include "platform/floating_windows.h"

// EWMH hints sent on Qt's own X connection. Without one (another Qt platform) nothing can be
// asked, and translucency is taken to work: Wayland always composites.
class X11FloatingWindows final : public FloatingWindows {
public:
    bool keepOnAllWorkspaces(quintptr window) override;
    bool compositing(quintptr window) const override;
};
