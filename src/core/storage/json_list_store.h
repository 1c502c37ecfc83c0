#pragma once

#include "core/base/json_file.h"
#include "core/base/result.h"
#include "core/base/support_paths.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>

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
        if (!write(*bytes))
            return SaveFailure::Write;
        return std::monostate();
    }

    // Writes already encoded bytes atomically.
    bool write(const QByteArray& bytes) const { return JsonFile::writeAtomically(path(), bytes); }

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

    // One record as it stands inside the pretty-printed array, without the separator.
    static std::optional<QByteArray> encodeElement(const T& item)
    {
        const std::optional<QJsonObject> object = item.toJson();
        if (!object)
            return std::nullopt;
        const QByteArray wrapped = QJsonDocument(QJsonArray{*object}).toJson(QJsonDocument::Indented);
        return wrapped.sliced(open.size(), wrapped.size() - open.size() - close.size());
    }

    // The same bytes as encode() from elements made by encodeElement().
    static QByteArray joinElements(const QList<QByteArray>& elements)
    {
        if (elements.isEmpty())
            return QJsonDocument(QJsonArray()).toJson(QJsonDocument::Indented);
        qsizetype size = open.size() + close.size();
        for (const QByteArray& element : elements)
            size += element.size() + separator.size();
        QByteArray bytes;
        bytes.reserve(size);
        bytes += open;
        for (qsizetype i = 0; i < elements.size(); ++i) {
            if (i > 0)
                bytes += separator;
            bytes += elements.at(i);
        }
        bytes += close;
        return bytes;
    }

    // Fails as a whole when any record fails.
    static std::optional<QList<T>> decode(const QByteArray& bytes)
    {
        return JsonFile::decodeArrayDocument<T>(bytes, &T::fromJson);
    }

private:
    static constexpr QByteArrayView open = "[\n";
    static constexpr QByteArrayView separator = ",\n";
    static constexpr QByteArrayView close = "\n]\n";

    QString path() const { return SupportPaths::file(m_fileName); }

    QString m_fileName;
};

// Keeps each record's encoded form by id, so saving a long list after a small change encodes only
// the records that changed. Gives the same bytes as JsonListStore<T>::encode().
template <typename T> class EncodedList final {
public:
    std::optional<QByteArray> encode(const QList<T>& items)
    {
        QHash<QUuid, Element> next;
        next.reserve(items.size());
        QList<QByteArray> elements;
        elements.reserve(items.size());
        m_encoded = 0;
        for (const T& item : items) {
            auto kept = m_elements.constFind(item.id);
            if (kept == m_elements.cend() || !(kept->item == item)) {
                const std::optional<QByteArray> bytes = JsonListStore<T>::encodeElement(item);
                if (!bytes)
                    return std::nullopt;
                ++m_encoded;
                kept = next.insert(item.id, {item, *bytes});
            } else {
                kept = next.insert(item.id, *kept);
            }
            elements << kept->bytes;
        }
        m_elements = std::move(next);
        return JsonListStore<T>::joinElements(elements);
    }

    // Records the last encode() had to encode afresh.
    int encodedLastTime() const { return m_encoded; }

private:
    struct Element {
        T item;
        QByteArray bytes;
    };

    QHash<QUuid, Element> m_elements;
    int m_encoded = 0;
};
