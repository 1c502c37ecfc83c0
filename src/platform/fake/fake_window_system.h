#pragma once

#include "platform/window_system.h"

// Frontmost and running applications as a test sets them.
class FakeWindowSystem final : public WindowSystem {
public:
    std::optional<FrontApp> frontmostApp() const override { return m_frontmost; }
    QList<FrontApp> runningApps() const override { return m_running; }

    void setFrontmost(const std::optional<FrontApp>& app) { m_frontmost = app; }
    void setRunning(const QList<FrontApp>& apps) { m_running = apps; }

private:
    std::optional<FrontApp> m_frontmost;
    QList<FrontApp> m_running;
};
