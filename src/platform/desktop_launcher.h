#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Opens the desktop's settings and links with the user's preferred handler.
class DesktopLauncher {
public:
    // Settings pages the program sends the user to; a desktop without such a page ignores it.
    static constexpr QLatin1String microphonePane{"Privacy_Microphone"};
    static constexpr QLatin1String accessibilityPane{"Privacy_Accessibility"};

    virtual ~DesktopLauncher() = default;

    // Opens the settings at the first of the panes (in the given order) the desktop can show,
    // else at the settings' start page. Reports nothing: the permission poll notices the outcome.
    virtual void openPrivacyPane(const QStringList& anchors) = 0;
    // False when no handler accepted the URL.
    virtual bool openUrl(const QUrl& url) = 0;
};
