#include "core/base/json_fields.h"

#include <QJsonDocument>

std::optional<QJsonValue> JsonFields::present(const QString& key) const
{
    const auto it = m_object.constFind(key);
    if (it == m_object.constEnd() || it->isNull() || it->isUndefined())
        return std::nullopt;
    return *it;
}

namespace {

std::optional<qint64> wholeNumber(const QJsonValue& value)
{
    // toInteger() answers only for a whole number that fits, else its fallback; two fallbacks tell
    // a miss apart. Going through double instead would reject integers near the top of the range
    // (a saturated "historyKeepHours") that the encoder itself writes.
    const qint64 n = value.toInteger(0);
    if (!value.isDouble() || (n == 0 && value.toInteger(1) != 0))
        return std::nullopt;
    return n;
}

} // namespace

bool JsonFields::holds(const QJsonValue& value, JsonType type)
{
    switch (type) {
    case JsonType::String:
        return value.isString();
    case JsonType::Bool:
        return value.isBool();
    case JsonType::Integer:
        return wholeNumber(value).has_value();
    case JsonType::Number:
        return value.isDouble();
    case JsonType::Array:
        return value.isArray();
    case JsonType::Object:
        return value.isObject();
    }
    return false;
}

std::optional<QJsonValue> JsonFields::typed(const QString& key, JsonType type)
{
    const auto value = present(key);
    if (value && !holds(*value, type)) {
        m_failed = true;
        return std::nullopt;
    }
    return value;
}

template <typename T> T JsonFields::require(std::optional<T> value)
{
    if (!value) {
        m_failed = true;
        return T{};
    }
    return *value;
}

std::optional<QString> JsonFields::string(const QString& key)
{
    const auto value = typed(key, JsonType::String);
    return value ? std::optional(value->toString()) : std::nullopt;
}

std::optional<bool> JsonFields::boolean(const QString& key)
{
    const auto value = typed(key, JsonType::Bool);
    return value ? std::optional(value->toBool()) : std::nullopt;
}

std::optional<qint64> JsonFields::integer(const QString& key)
{
    const auto value = typed(key, JsonType::Integer);
    return value ? wholeNumber(*value) : std::nullopt;
}

std::optional<double> JsonFields::number(const QString& key)
{
    const auto value = typed(key, JsonType::Number);
    return value ? std::optional(value->toDouble()) : std::nullopt;
}

std::optional<QJsonArray> JsonFields::array(const QString& key)
{
    const auto value = typed(key, JsonType::Array);
    return value ? std::optional(value->toArray()) : std::nullopt;
}

std::optional<QJsonObject> JsonFields::object(const QString& key)
{
    const auto value = typed(key, JsonType::Object);
    return value ? std::optional(value->toObject()) : std::nullopt;
}

std::optional<QUuid> JsonFields::uuid(const QString& key)
{
    const auto text = string(key);
    if (!text)
        return std::nullopt;
    const QUuid id = QUuid::fromString(*text);
    if (id.isNull() && *text != QStringLiteral("00000000-0000-0000-0000-000000000000")) {
        m_failed = true;
        return std::nullopt;
    }
    return id;
}

QString JsonFields::requiredString(const QString& key)
{
    return require(string(key));
}

bool JsonFields::requiredBool(const QString& key)
{
    return require(boolean(key));
}

QUuid JsonFields::requiredUuid(const QString& key)
{
    return require(uuid(key));
}

QString JsonText::uuid(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

namespace {
std::optional<QJsonDocument> parse(const QByteArray& bytes)
{
    QJsonParseError error{};
    QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return doc;
}
} // namespace

std::optional<QJsonObject> JsonText::parseObject(const QByteArray& bytes)
{
    const auto doc = parse(bytes);
    if (!doc || !doc->isObject())
        return std::nullopt;
    return doc->object();
}

std::optional<QJsonArray> JsonText::parseArray(const QByteArray& bytes)
{
    const auto doc = parse(bytes);
    if (!doc || !doc->isArray())
        return std::nullopt;
    return doc->array();
}
