#pragma once

#include "platform/desktop_launcher.h"

// Starts programs with QProcess::startDetached and opens links through QDesktopServices
// (needs a QGuiApplication).
class DesktopLauncherLinux final : public DesktopLauncher {
public:
    DesktopLauncherLinux() = default;

    bool openSettings(const QString& program, const QStringList& arguments) override;
    bool openUrl(const QUrl& url) override;
};
