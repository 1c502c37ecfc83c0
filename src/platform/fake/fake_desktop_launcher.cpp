#include "platform/fake/fake_desktop_launcher.h"

bool FakeDesktopLauncher::openSettings(const QString& program, const QStringList& arguments)
{
    m_attempts.append((QStringList{program} + arguments).join(QLatin1Char(' ')));
    return !m_refusedPrograms.contains(program);
}

bool FakeDesktopLauncher::openUrl(const QUrl& url)
{
    m_attempts.append(url.toString());
    return true;
}
