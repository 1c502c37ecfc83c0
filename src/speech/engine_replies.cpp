#include "speech/engine_replies.h"

#include "core/base/json_fields.h"

std::optional<HealthBody> HealthBody::decode(const QByteArray& bytes)
{
    const auto object = JsonText::parseObject(bytes);
    if (!object)
        return std::nullopt;
    JsonFields f(*object);
    HealthBody body;
    body.ready = f.requiredBool(QStringLiteral("ready"));
    body.error = f.string(QStringLiteral("error"));
    body.model = f.string(QStringLiteral("model"));
    body.polish = f.boolean(QStringLiteral("polish"));
    body.polishError = f.string(QStringLiteral("polishError"));
    if (f.failed())
        return std::nullopt;
    return body;
}

std::optional<TextBody> TextBody::decode(const QByteArray& bytes)
{
    const auto object = JsonText::parseObject(bytes);
    if (!object)
        return std::nullopt;
    JsonFields f(*object);
    TextBody body;
    body.text = f.requiredString(QStringLiteral("text"));
    body.language = f.string(QStringLiteral("language"));
    body.raw = f.string(QStringLiteral("raw"));
    body.recogniser = f.string(QStringLiteral("recogniser"));
    body.serverError = f.string(QStringLiteral("serverError"));
    if (f.failed())
        return std::nullopt;
    return body;
}

std::optional<CorrectionModelBody> CorrectionModelBody::decode(const QByteArray& bytes)
{
    const auto object = JsonText::parseObject(bytes);
    if (!object)
        return std::nullopt;
    JsonFields f(*object);
    CorrectionModelBody body;
    body.model = f.requiredString(QStringLiteral("model"));
    if (const auto models = f.array(QStringLiteral("models"))) {
        QStringList list;
        for (const QJsonValue& value : *models) {
            if (!value.isString())
                return std::nullopt;
            list.append(value.toString());
        }
        body.models = list;
    }
    if (f.failed())
        return std::nullopt;
    return body;
}

std::optional<ErrorBody> ErrorBody::decode(const QByteArray& bytes)
{
    const auto object = JsonText::parseObject(bytes);
    if (!object)
        return std::nullopt;
    JsonFields f(*object);
    ErrorBody body{f.requiredString(QStringLiteral("error"))};
    if (f.failed())
        return std::nullopt;
    return body;
}
