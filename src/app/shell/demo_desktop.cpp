#include "app/shell/demo_desktop.h"

#include <QTimer>

std::optional<FrontApp> DemoDesktop::frontmostApp() const
{
    return FrontApp{QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor")};
}

QList<FrontApp> DemoDesktop::runningApps() const
{
    return {*frontmostApp()};
}

QList<FrontApp> DemoDesktop::installedApps() const
{
    return runningApps();
}

WindowSystem::Activated DemoDesktop::activate(const AppWindow&)
{
    return Failure{Failure::Reason::Unavailable, QStringLiteral("demonstration desktop")};
}

void DemoDesktop::run(const ScriptRequest&, QObject* context, Completion done)
{
    ScriptResult result;
    result.status = ScriptResult::Status::FailedToStart;
    result.launchError = QStringLiteral("no programs run in a demonstration");
    QTimer::singleShot(0, context, [done = std::move(done), result] { done(result); });
}
