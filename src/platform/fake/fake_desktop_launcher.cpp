#include "fake_desktop_launcher.h"

bool FakeDesktopLauncher::openSettings(const QString& program, const QStringList& arguments)
{
    const QString call = (QStringList{program} + arguments).join(QLatin1Char(' '));
    m_attempts.append(call);
    if (m_refusedPrograms.contains(program))
        return false;
    m_opened.append(call);
    return true;
}

bool FakeDesktopLauncher::openUrl(const QUrl& url)
{
    m_attempts.append(url.toString());
    if (m_refuseUrls)
        return false;
    m_opened.append(url.toString());
    return true;
}
