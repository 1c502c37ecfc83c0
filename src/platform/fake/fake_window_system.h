#pragma once

#include "platform/window_system.h"

// Running and installed applications as a test sets them; none is frontmost. Set the lists
// before a scan is posted: the installed list is read on the scan's worker.
class FakeWindowSystem final : public WindowSystem {
public:
    std::optional<FrontApp> frontmostApp() const override { return std::nullopt; }
    QList<FrontApp> runningApps() const override { return m_running; }
    QList<FrontApp> installedApps() const override { return m_installed; }

    void setRunning(const QList<FrontApp>& apps) { m_running = apps; }
    void setInstalled(const QList<FrontApp>& apps) { m_installed = apps; }

private:
    QList<FrontApp> m_running;
    QList<FrontApp> m_installed;
};
