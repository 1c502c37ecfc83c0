#include "platform/linux/xdg/linux_window_system.h"

LinuxWindowSystem::LinuxWindowSystem(XdgApplications applications)
    : m_applications(std::move(applications))
{
}

std::optional<FrontApp> LinuxWindowSystem::frontmostApp() const
{
    return std::nullopt;
}

QList<FrontApp> LinuxWindowSystem::runningApps() const
{
    return {};
}

QList<FrontApp> LinuxWindowSystem::installedApps() const
{
    return m_applications.scan();
}
