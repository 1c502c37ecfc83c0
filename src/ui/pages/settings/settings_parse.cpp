#include "ui/pages/settings/settings_parse.h"

#include <QUrl>

bool SettingsParse::isWebAddress(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

QString SettingsParse::shownAsIs(const QString& text)
{
    return text;
}
