#pragma once

#include "platform/accessibility_repair.h"
#include "platform/app_icons.h"
#include "platform/desktop_launcher.h"
#include "platform/permission_probe.h"
#include "platform/script_runner.h"
#include "platform/window_system.h"

// The desktop the snapshot renders pretend to run on: everything granted unless a scene says
// otherwise, one application in front, nothing opened, activated or run, and a drawn icon for every
// application.
class DemoDesktop final : public PermissionProbe,
                          public AccessibilityRepair,
                          public DesktopLauncher,
                          public WindowSystem,
                          public ScriptRunner,
                          public AppIcons {
public:
    bool microphoneAvailable() const override { return microphone; }
    bool accessibilityTrusted() const override { return accessibility; }

    void switchOn() override {}
    bool openSettings() override { return true; }

    void openPrivacyPane(const QStringList&) override {}
    bool openUrl(const QUrl&) override { return false; }

    std::optional<FrontApp> frontmostApp() const override;
    QList<FrontApp> runningApps() const override;
    QList<FrontApp> installedApps() const override;
    std::optional<AppWindow> activeWindow() const override { return std::nullopt; }
    std::optional<AppWindow> windowOfProcess(int) const override { return std::nullopt; }
    std::optional<AppWindow> windowOfApp(const QString&) const override { return std::nullopt; }
    Activated activate(const AppWindow&) override;
    void watchActiveApp(QObject*, ActiveAppChanged) override {}

    void run(const ScriptRequest& request, QObject* context, Completion done) override;

    // A rounded tile in a colour of the id with the initial of the application's name, the same in
    // every run.
    QIcon icon(const QString& appId) override;

    // The applications the demonstration knows, by their desktop-file ids.
    static QString nameOf(const QString& appId);

    // Off to show the repair of text access, or the banner of a missing permission.
    bool accessibility = true;
    bool microphone = true;
};
