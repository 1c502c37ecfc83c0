#pragma once

#include "core/base/work_queue.h"
#include "platform/linux/xdg/window_app_matcher.h"
#include "platform/linux/xdg/xdg_applications.h"
#include "platform/window_system.h"

#include <QByteArray>
#include <QObject>

#include <memory>
#include <mutex>

class EwmhWindows;

// The window system of a freedesktop.org desktop on X11: windows through EWMH on an X connection
// of its own, tied to the applications of the XDG desktop files by WM_CLASS. The desktop files
// are read by every installedApps() and, unless the first of those comes with the program's
// start anyway, once in the background at the start.
class LinuxWindowSystem final : public QObject, public WindowSystem {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinuxWindowSystem)

public:
    enum class FirstScan { AtStart, ByInstalledApps };

    // An empty display name means $DISPLAY; without an X server no window is ever reported.
    explicit LinuxWindowSystem(XdgApplications applications = XdgApplications(),
                               const QByteArray& displayName = {}, QObject* parent = nullptr,
                               FirstScan firstScan = FirstScan::AtStart);
    ~LinuxWindowSystem() override;

    std::optional<FrontApp> frontmostApp() const override;
    QList<FrontApp> runningApps() const override;
    QList<FrontApp> installedApps() const override;
    std::optional<AppWindow> activeWindow() const override;
    std::optional<AppWindow> windowOfProcess(int pid) const override;
    std::optional<AppWindow> windowOfApp(const QString& appId) const override;
    Activated activate(const AppWindow& window) override;
    void watchActiveApp(QObject* context, ActiveAppChanged changed) override;

signals:
    void activeAppChanged(const std::optional<AppWindow>& active);

private:
    QList<AppWindow> windows() const;
    void setApplications(const QList<InstalledApp>& apps) const;
    void checkActiveApp();

    const XdgApplications m_applications;
    mutable std::mutex m_matcherMutex;  // installedApps() renews the matcher on a worker
    mutable WindowAppMatcher m_matcher; // guarded by m_matcherMutex
    std::unique_ptr<EwmhWindows> m_windows;
    std::optional<AppWindow> m_active;
    WorkQueue m_scan;
};
