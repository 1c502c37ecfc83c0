#pragma once

#include "platform/window_system.h"

#include <QPointer>

#include <atomic>
#include <vector>

// Applications and windows as a test sets them; nothing is active until a test says so. Set the
// lists before a scan is posted: the installed list is read on the scan's worker.
class FakeWindowSystem final : public WindowSystem {
public:
    std::optional<FrontApp> frontmostApp() const override;
    QList<FrontApp> runningApps() const override { return m_running; }
    QList<FrontApp> installedApps() const override
    {
        ++m_installedReads;
        return m_installed;
    }
    std::optional<AppWindow> activeWindow() const override { return m_active; }
    std::optional<AppWindow> windowOfProcess(int pid) const override;
    std::optional<AppWindow> windowOfApp(const QString& appId) const override;
    // Makes the window active, as a window manager would, unless a failure is set.
    Activated activate(const AppWindow& window) override;
    void watchActiveApp(QObject* context, ActiveAppChanged changed) override;

    void setRunning(const QList<FrontApp>& apps) { m_running = apps; }
    void setInstalled(const QList<FrontApp>& apps) { m_installed = apps; }
    // The windows the lookups search, in the desktop's order.
    void setWindows(const QList<AppWindow>& windows) { m_windows = windows; }
    // Tells the watchers when the application differs from the one active before.
    void setActive(const std::optional<AppWindow>& window);
    void setActivationFailure(std::optional<Failure::Reason> reason) { m_activationFailure = reason; }
    const QList<AppWindow>& activations() const { return m_activations; }
    // How often the installed list was read, from any thread.
    int installedReads() const { return m_installedReads; }

private:
    struct Watcher {
        QPointer<QObject> context;
        ActiveAppChanged changed;
    };

    QList<FrontApp> m_running;
    QList<FrontApp> m_installed;
    mutable std::atomic<int> m_installedReads = 0;
    QList<AppWindow> m_windows;
    std::optional<AppWindow> m_active;
    std::optional<Failure::Reason> m_activationFailure;
    QList<AppWindow> m_activations;
    std::vector<Watcher> m_watchers;
};
