#include "platform/linux/xdg/linux_window_system.h"

#include "platform/linux/x11/ewmh_windows.h"
#include "platform/linux/x11/terminal_classes.h"

namespace {

// Two windows of one application are no change of the active application.
bool sameApp(const std::optional<AppWindow>& a, const std::optional<AppWindow>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->pid == b->pid && a->windowClass == b->windowClass && a->app == b->app;
}

AppWindow describe(const EwmhWindows::Client& client, const WindowAppMatcher& matcher)
{
    const auto installed = matcher.match(client.instance, client.className);
    AppWindow window{client.window, {}, client.pid, client.className, false};
    if (installed)
        window.app = installed->app;
    else
        window.app.name = client.className.isEmpty() ? client.instance : client.className;
    const auto known = TerminalClasses::find(client.instance, client.className);
    window.terminal = known || (installed && installed->terminal);
    window.shiftInsertOnly = known == TerminalClasses::Paste::ShiftInsert;
    return window;
}

} // namespace

LinuxWindowSystem::LinuxWindowSystem(XdgApplications applications, const QByteArray& displayName,
                                     QObject* parent, FirstScan firstScan)
    : QObject(parent)
    , m_applications(std::move(applications))
    , m_windows(std::make_unique<EwmhWindows>(displayName))
{
    m_active = activeWindow();
    connect(m_windows.get(), &EwmhWindows::activeWindowChanged, this, &LinuxWindowSystem::checkActiveApp);
    if (firstScan == FirstScan::ByInstalledApps)
        return;
    const XdgApplications scanned = m_applications;
    m_scan.run<QList<InstalledApp>>([scanned] { return scanned.entries(); }, this,
                                    [this](const QList<InstalledApp>& apps) {
                                        setApplications(apps);
                                        checkActiveApp();
                                    });
}

LinuxWindowSystem::~LinuxWindowSystem() = default;

std::optional<FrontApp> LinuxWindowSystem::frontmostApp() const
{
    const auto active = activeWindow();
    if (!active || active->app.bundleID.isEmpty())
        return std::nullopt;
    return active->app;
}

QList<FrontApp> LinuxWindowSystem::runningApps() const
{
    QList<FrontApp> apps;
    for (const AppWindow& window : windows()) {
        if (!window.app.bundleID.isEmpty() && !apps.contains(window.app))
            apps.append(window.app);
    }
    return apps;
}

QList<FrontApp> LinuxWindowSystem::installedApps() const
{
    const QList<InstalledApp> entries = m_applications.entries();
    setApplications(entries);
    // A window active while the files were read is named by them now, on this object's thread.
    QMetaObject::invokeMethod(const_cast<LinuxWindowSystem*>(this), &LinuxWindowSystem::checkActiveApp,
                              Qt::QueuedConnection);
    QList<FrontApp> apps;
    for (const InstalledApp& entry : entries)
        apps.append(entry.app);
    return apps;
}

std::optional<AppWindow> LinuxWindowSystem::activeWindow() const
{
    const auto client = m_windows->activeWindow();
    if (!client)
        return std::nullopt;
    std::lock_guard lock(m_matcherMutex);
    return describe(*client, m_matcher);
}

std::optional<AppWindow> LinuxWindowSystem::windowOfProcess(int pid) const
{
    for (const AppWindow& window : windows()) {
        if (pid != 0 && window.pid == pid)
            return window;
    }
    return std::nullopt;
}

std::optional<AppWindow> LinuxWindowSystem::windowOfApp(const QString& appId) const
{
    for (const AppWindow& window : windows()) {
        if (!appId.isEmpty() && window.app.bundleID == appId)
            return window;
    }
    return std::nullopt;
}

WindowSystem::Activated LinuxWindowSystem::activate(const AppWindow& window)
{
    return m_windows->activate(window.window);
}

void LinuxWindowSystem::watchActiveApp(QObject* context, ActiveAppChanged changed)
{
    connect(this, &LinuxWindowSystem::activeAppChanged, context, std::move(changed));
}

QList<AppWindow> LinuxWindowSystem::windows() const
{
    QList<AppWindow> windows;
    const QList<EwmhWindows::Client> clients = m_windows->clients();
    std::lock_guard lock(m_matcherMutex);
    for (const EwmhWindows::Client& client : clients)
        windows.append(describe(client, m_matcher));
    return windows;
}

void LinuxWindowSystem::setApplications(const QList<InstalledApp>& apps) const
{
    std::lock_guard lock(m_matcherMutex);
    m_matcher = WindowAppMatcher(apps);
}

void LinuxWindowSystem::checkActiveApp()
{
    const auto active = activeWindow();
    if (sameApp(active, m_active))
        return;
    m_active = active;
    emit activeAppChanged(active);
}
