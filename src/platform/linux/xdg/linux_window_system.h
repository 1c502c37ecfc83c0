#pragma once

#include "platform/linux/xdg/xdg_applications.h"
#include "platform/window_system.h"

// The window system of a freedesktop.org desktop. Only the installed applications are known so
// far: until the X11 window backend exists, no application is frontmost and none is running.
class LinuxWindowSystem final : public WindowSystem {
public:
    explicit LinuxWindowSystem(XdgApplications applications = XdgApplications());

    std::optional<FrontApp> frontmostApp() const override;
    QList<FrontApp> runningApps() const override;
    QList<FrontApp> installedApps() const override;

private:
    const XdgApplications m_applications;
};
