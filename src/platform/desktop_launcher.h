#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Starts the desktop's settings programs and opens links with the user's preferred handler.
class DesktopLauncher {
public:
    virtual ~DesktopLauncher() = default;

    // Starts a settings program detached, e.g. "gnome-control-center" with {"sound"};
    // false when it could not be started.
    virtual bool openSettings(const QString& program, const QStringList& arguments) = 0;
    // False when no handler accepted the URL.
    virtual bool openUrl(const QUrl& url) = 0;
};
