#pragma once

#include "core/base/json_file.h"
#include "core/base/result.h"
#include "core/base/support_paths.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

// A list of records kept as one JSON array in a file of the support folder, read and written
// whole. T::toJson() gives the record's object (or nothing when it cannot be stored) and
// T::fromJson(object) the record (or nothing when the object does not decode).
template <typename T> class JsonListStore final {
public:
    enum class SaveFailure { Encode, Write };
    using Saved = Result<std::monostate, SaveFailure>;

    explicit JsonListStore(QString fileName)
        : m_fileName(std::move(fileName))
    {
    }

    // Missing or undecodable files give an empty list; an undecodable one is kept aside before
    // the next save replaces it.
    QList<T> load() const { return JsonFile::load(path(), &JsonListStore::decode).value_or(QList<T>()); }

    // Writes the whole list atomically.
    Saved save(const QList<T>& items) const
    {
        const auto bytes = encode(items);
        if (!bytes)
            return SaveFailure::Encode;
        if (!JsonFile::writeAtomically(path(), *bytes))
            return SaveFailure::Write;
        return std::monostate();
    }

    // Pretty-printed; absent when any record cannot be encoded.
    static std::optional<QByteArray> encode(const QList<T>& items)
    {
        QJsonArray array;
        for (const T& item : items) {
            const std::optional<QJsonObject> object = item.toJson();
            if (!object)
                return std::nullopt;
            array.append(*object);
        }
        return QJsonDocument(array).toJson(QJsonDocument::Indented);
    }

    // Fails as a whole when any record fails.
    static std::optional<QList<T>> decode(const QByteArray& bytes)
    {
        return JsonFile::decodeArrayDocument<T>(bytes, &T::fromJson);
    }

private:
    QString path() const { return SupportPaths::file(m_fileName); }

    QString m_fileName;
};
