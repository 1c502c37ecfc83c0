#include "speech/engine_requests.h"

#include <QJsonArray>

namespace {

void putOptional(QJsonObject& object, const QString& key, const std::optional<QString>& value)
{
    if (value)
        object.insert(key, *value);
}

} // namespace

QJsonObject SpeechCheckRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("baseURL"), baseURL},
                       {QStringLiteral("model"), model},
                       {QStringLiteral("apiKey"), apiKey}};
}

QJsonObject CorrectionModelRequest::toJson() const
{
    return QJsonObject{{QStringLiteral("apiKey"), apiKey}, {QStringLiteral("baseURL"), baseURL}};
}

QJsonObject PolishEndpointBody::toJson() const
{
    QJsonObject object{
        {QStringLiteral("model"), model},
        {QStringLiteral("baseURL"), baseURL},
        {QStringLiteral("kind"), kind},
    };
    putOptional(object, QStringLiteral("apiKey"), apiKey);
    return object;
}

QJsonObject PolishBody::toJson() const
{
    QJsonArray list;
    for (const PolishEndpointBody& endpoint : endpoints)
        list.append(endpoint.toJson());
    QJsonObject object{
        {QStringLiteral("raw"), raw},
        {QStringLiteral("style"), style},
        {QStringLiteral("instructions"), instructions},
        {QStringLiteral("dictionary"), dictionary},
        {QStringLiteral("provider"), provider},
        {QStringLiteral("endpoints"), list},
        {QStringLiteral("noteAnswer"), noteAnswer},
    };
    putOptional(object, QStringLiteral("selection"), selection);
    putOptional(object, QStringLiteral("targetLanguage"), targetLanguage);
    putOptional(object, QStringLiteral("apiKey"), apiKey);
    putOptional(object, QStringLiteral("openAIModel"), openAIModel);
    putOptional(object, QStringLiteral("baseURL"), baseURL);
    return object;
}
