#include "platform/linux/xdg/desktop_launcher_linux.h"

#include <QDesktopServices>
#include <QProcess>

bool DesktopLauncherLinux::openSettings(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool DesktopLauncherLinux::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
