#include "core/model/correction_endpoint.h"

#include "core/base/json_fields.h"

#include <QHashFunctions>

const QStringList& CorrectionEndpoint::knownKinds()
{
    static const QStringList kinds{QStringLiteral("chatgpt"), QStringLiteral("claude"),
                                   QStringLiteral("cursor"), QStringLiteral("custom")};
    return kinds;
}

QString CorrectionEndpoint::openAIHost()
{
    return QStringLiteral("api.openai.com");
}

QString CorrectionEndpoint::resolvedBaseURL() const
{
    if (kind == QLatin1String("claude"))
        return QStringLiteral("https://api.anthropic.com/v1");
    if (kind == QLatin1String("cursor"))
        return QStringLiteral("https://api.cursor.com/v1");
    if (kind == QLatin1String("custom"))
        return baseURL.trimmed();
    return QStringLiteral("https://") + openAIHost() + QStringLiteral("/v1");
}

QJsonObject CorrectionEndpoint::toJson() const
{
    return QJsonObject{
        {QStringLiteral("id"), JsonText::uuid(id)},
        {QStringLiteral("kind"), kind},
        {QStringLiteral("model"), model},
        {QStringLiteral("baseURL"), baseURL},
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
