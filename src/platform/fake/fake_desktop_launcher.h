#pragma once

#include "platform/desktop_launcher.h"

#include <QList>

// Records every request; accepts every URL unless told to refuse them.
class FakeDesktopLauncher final : public DesktopLauncher {
public:
    void openPrivacyPane(const QStringList& anchors) override;
    bool openUrl(const QUrl& url) override;

    // The anchors of each openPrivacyPane call, in order.
    const QList<QStringList>& privacyPanes() const { return m_privacyPanes; }
    const QList<QUrl>& urls() const { return m_urls; }

    bool m_acceptsUrls = true;

private:
    QList<QStringList> m_privacyPanes;
    QList<QUrl> m_urls;
};
