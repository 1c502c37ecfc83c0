#include "core/model/speech_server.h"

#include <QStringList>
#include <QUrl>

namespace {

QUrl urlOf(const QString& baseURL)
{
    return QUrl(baseURL.trimmed(), QUrl::StrictMode);
}

} // namespace

QString SpeechServer::host() const
{
    const QString name = urlOf(baseURL).host();
    return name.isEmpty() ? baseURL.trimmed() : name;
}

bool SpeechServer::isLoopback() const
{
    const QString name = urlOf(baseURL).host().toLower();
    if (name == QLatin1String("localhost") || name.endsWith(QLatin1String(".localhost")) ||
        name == QLatin1String("::1"))
        return true;
    // QUrl has already made any IPv4 form (127.1, 0x7f.0.0.1) four decimal numbers.
    const QStringList parts = name.split(QLatin1Char('.'));
    bool numbers = parts.size() == 4;
    for (const QString& part : parts) {
        bool number = false;
        part.toUInt(&number);
        numbers = numbers && number;
    }
    return numbers && parts.first() == QLatin1String("127");
}

bool SpeechServer::sendsInTheClear() const
{
    return urlOf(baseURL).scheme().toLower() == QLatin1String("http") && !isLoopback();
}
