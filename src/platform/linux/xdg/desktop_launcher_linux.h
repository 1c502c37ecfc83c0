#pragma once

#include "platform/desktop_launcher.h"

#include <QString>

#include <functional>

// Opens settings pages through the settings programs of GNOME and KDE and links through
// QDesktopServices (needs a QGuiApplication).
class DesktopLauncherLinux final : public DesktopLauncher {
public:
    // Starts a program detached; false when it could not be started.
    using StartDetached = std::function<bool(const QString& program, const QStringList& arguments)>;

    // `currentDesktop` is $XDG_CURRENT_DESKTOP; KDE's settings go first on KDE, GNOME's elsewhere.
    explicit DesktopLauncherLinux(const QString& currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                                  StartDetached start = startWithQProcess);

    void openPrivacyPane(const QStringList& anchors) override;
    // As openPrivacyPane; false when no settings program could be started (a bare window manager).
    bool openSettings(const QStringList& anchors);
    bool openUrl(const QUrl& url) override;

private:
    static bool startWithQProcess(const QString& program, const QStringList& arguments);

    bool m_kdeFirst;
    StartDetached m_start;
};
