#include "core/model/correction_endpoint.h"

#include "core/base/json_fields.h"

#include <QHashFunctions>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace {

using Provider = CorrectionEndpoint::Provider;

// The first row is OpenAI's.
constexpr Provider kProviders[] = {
    {.kind = QLatin1String("chatgpt"),
     .baseURL = QLatin1String("https://api.openai.com/v1"),
     .keyAccount = QLatin1String("openai-api-key"),
     .keySetupURL = QLatin1String("https://platform.openai.com/api-keys"),
     .generalKey = true},
    {.kind = QLatin1String("claude"),
     .baseURL = QLatin1String("https://api.anthropic.com/v1"),
     .keyAccount = QLatin1String("claude-api-key"),
     .keySetupURL = QLatin1String("https://console.anthropic.com/settings/keys")},
    {.kind = QLatin1String("cursor"),
     .baseURL = QLatin1String("https://api.cursor.com/v1"),
     .keyAccount = QLatin1String("cursor-api-key"),
     .keySetupURL = QLatin1String("https://cursor.com/settings")},
    {.kind = QLatin1String("custom")},
};

} // namespace

std::span<const Provider> CorrectionEndpoint::providers()
{
    return kProviders;
}

std::optional<Provider> CorrectionEndpoint::providerOf(const QString& kind)
{
    for (const Provider& provider : kProviders) {
        if (provider.kind == kind)
            return provider;
    }
    return std::nullopt;
}

const Provider& CorrectionEndpoint::openAI()
{
    return kProviders[0];
}

const Provider& CorrectionEndpoint::ownServer()
{
    return *std::find_if(std::begin(kProviders), std::end(kProviders),
                         [](const Provider& provider) { return provider.usesOwnBaseURL(); });
}

const QStringList& CorrectionEndpoint::knownKinds()
{
    static const QStringList kinds = [] {
        QStringList raw;
        for (const Provider& provider : kProviders)
            raw.append(provider.kind);
        return raw;
    }();
    return kinds;
}

QString CorrectionEndpoint::openAIHost()
{
    return QUrl(openAIBaseURL()).host();
}

QString CorrectionEndpoint::openAIBaseURL()
{
    return openAI().baseURL;
}

QString CorrectionEndpoint::resolvedBaseURL() const
{
    const auto provider = providerOf(kind);
    if (!provider)
        return openAIBaseURL();
    return provider->usesOwnBaseURL() ? baseURL.trimmed() : QString(provider->baseURL);
}

bool CorrectionEndpoint::usesOwnBaseURL() const
{
    const auto provider = providerOf(kind);
    return provider && provider->usesOwnBaseURL();
}

QJsonObject CorrectionEndpoint::toJson() const
{
    return QJsonObject{
        {QStringLiteral("id"), JsonText::uuid(id)}, {QStringLiteral("kind"), kind},
        {QStringLiteral("model"), model},           {QStringLiteral("baseURL"), baseURL},
        {QStringLiteral("enabled"), enabled},
    };
}

std::optional<CorrectionEndpoint> CorrectionEndpoint::fromJson(const QJsonObject& object)
{
    JsonFields f(object);
    CorrectionEndpoint e;
    e.id = f.requiredUuid(QStringLiteral("id"));
    e.kind = f.requiredString(QStringLiteral("kind"));
    e.model = f.requiredString(QStringLiteral("model"));
    e.baseURL = f.requiredString(QStringLiteral("baseURL"));
    e.enabled = f.requiredBool(QStringLiteral("enabled"));
    if (f.failed())
        return std::nullopt;
    return e;
}

size_t qHash(const CorrectionEndpoint& e, size_t seed) noexcept
{
    return qHashMulti(seed, e.id, e.kind, e.model, e.baseURL, e.enabled);
}
