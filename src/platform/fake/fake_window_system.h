#pragma once

#include "platform/window_system.h"

// Running applications as a test sets them; none is frontmost.
class FakeWindowSystem final : public WindowSystem {
public:
    std::optional<FrontApp> frontmostApp() const override { return std::nullopt; }
    QList<FrontApp> runningApps() const override { return m_running; }

    void setRunning(const QList<FrontApp>& apps) { m_running = apps; }

private:
    QList<FrontApp> m_running;
};
