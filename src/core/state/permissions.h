#pragma once

#include "platform/desktop_launcher.h"

#include <QString>
#include <QStringList>

// Sends the user to the desktop settings page where a missing permission is granted.
class Permissions final {
public:
    // `currentDesktop` is $XDG_CURRENT_DESKTOP; KDE's settings go first on KDE, GNOME's elsewhere.
    Permissions(DesktopLauncher& launcher, const QString& currentDesktop);

    // Starts the desktop's settings at the page of the first anchor ("Privacy_Microphone",
    // "Privacy_Accessibility") that a settings program opens, else the bare settings program.
    // Reports nothing: the permission poll notices the outcome.
    void openPrivacyPane(const QStringList& anchors);

private:
    DesktopLauncher& m_launcher;
    bool m_kdeFirst;
};
