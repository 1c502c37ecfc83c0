#include "platform/fake/fake_window_system.h"

std::optional<FrontApp> FakeWindowSystem::frontmostApp() const
{
    if (!m_active || m_active->app.bundleID.isEmpty())
        return std::nullopt;
    return m_active->app;
}

std::optional<AppWindow> FakeWindowSystem::windowOfProcess(int pid) const
{
    for (const AppWindow& window : m_windows) {
        if (window.pid == pid && pid != 0)
            return window;
    }
    return std::nullopt;
}

std::optional<AppWindow> FakeWindowSystem::windowOfApp(const QString& appId) const
{
    for (const AppWindow& window : m_windows) {
        if (window.app.bundleID == appId && !appId.isEmpty())
            return window;
    }
    return std::nullopt;
}

WindowSystem::Activated FakeWindowSystem::activate(const AppWindow& window)
{
    if (m_activationFailure)
        return Failure{*m_activationFailure, QStringLiteral("injected")};
    m_activations.append(window);
    setActive(window);
    return std::monostate{};
}

void FakeWindowSystem::watchActiveApp(QObject* context, ActiveAppChanged changed)
{
    m_watchers.push_back({context, std::move(changed)});
}

void FakeWindowSystem::setActive(const std::optional<AppWindow>& window)
{
    const bool sameApp = window && m_active ? window->pid == m_active->pid && window->app == m_active->app
                                            : !window && !m_active;
    m_active = window;
    if (sameApp)
        return;
    std::erase_if(m_watchers, [](const Watcher& w) { return w.context.isNull(); });
    const auto watchers = m_watchers; // a watcher may add another
    for (const Watcher& watcher : watchers) {
        if (watcher.context)
            watcher.changed(window);
    }
}
