#include "core/model/app_style_profile.h"

#include "core/base/json_fields.h"

QJsonObject AppStyleProfile::toJson() const
{
    return QJsonObject{
        {QStringLiteral("bundleID"), bundleID},     {QStringLiteral("name"), name},
        {QStringLiteral("style"), style},           {QStringLiteral("suggested"), suggested},
        {QStringLiteral("customized"), customized},
    };
}

std::optional<AppStyleProfile> AppStyleProfile::fromJson(const QJsonObject& object)
{
    JsonFields f(object);
    AppStyleProfile p;
    p.bundleID = f.requiredString(QStringLiteral("bundleID"));
    p.name = f.requiredString(QStringLiteral("name"));
    p.style = f.requiredString(QStringLiteral("style"));
    p.suggested = f.requiredString(QStringLiteral("suggested"));
    p.customized = f.requiredBool(QStringLiteral("customized"));
    if (f.failed())
        return std::nullopt;
    return p;
}
