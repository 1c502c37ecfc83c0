#include "platform/fake/fake_desktop_launcher.h"

void FakeDesktopLauncher::openPrivacyPane(const QStringList& anchors)
{
    m_privacyPanes.append(anchors);
}

bool FakeDesktopLauncher::openUrl(const QUrl& url)
{
    m_urls.append(url);
    return m_acceptsUrls;
}
