#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>

// The JSON types stored values have. An integer is a number that is whole and fits 64 bits, so
// 4000.0 is one and 17.5 or 1e30 is not.
enum class JsonType { String, Bool, Integer, Number, Array, Object };

// Typed reads from a JSON object for strict decoders. A key that is missing or null reads as
// absent; a key present with a value of the wrong type reads as absent too and marks the whole
// read as failed, so a decoder can reject the document once at the end.
class JsonFields final {
public:
    explicit JsonFields(const QJsonObject& object)
        : m_object(object)
    {
    }

    std::optional<QString> string(const QString& key);
    std::optional<bool> boolean(const QString& key);
    // An integral number that fits a 64-bit integer; 17.5 or 1e30 is a type error.
    std::optional<qint64> integer(const QString& key);
    std::optional<double> number(const QString& key);
    std::optional<QJsonArray> array(const QString& key);
    std::optional<QJsonObject> object(const QString& key);
    // A UUID in its hyphenated text form.
    std::optional<QUuid> uuid(const QString& key);

    // Required members: absence is a failure as well.
    QString requiredString(const QString& key);
    bool requiredBool(const QString& key);
    QUuid requiredUuid(const QString& key);

    // Whether a present value has the type; the one check every typed read makes.
    static bool holds(const QJsonValue& value, JsonType type);

    bool failed() const { return m_failed; }
    void fail() { m_failed = true; }

private:
    std::optional<QJsonValue> present(const QString& key) const;
    // The value when present with the given type; a present value of another type fails the read.
    std::optional<QJsonValue> typed(const QString& key, JsonType type);
    template <typename T> T require(std::optional<T> value);

    QJsonObject m_object;
    bool m_failed = false;
};

namespace JsonText {
// The stored form of a UUID: 36 upper-case hyphenated characters.
QString uuid(const QUuid& id);
// The document when bytes are well-formed JSON whose top level is an object (or an array).
std::optional<QJsonObject> parseObject(const QByteArray& bytes);
std::optional<QJsonArray> parseArray(const QByteArray& bytes);
} // namespace JsonText
