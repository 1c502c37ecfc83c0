#pragma once

#include "core/base/json_fields.h"

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Whole-file reads and atomic writes of the stored JSON files, with one safety rule: a file that
// exists but could not be decoded is renamed to "<name>.corrupt-<timestamp>" before the first
// write that would replace it, so the user's data is never silently destroyed.
namespace JsonFile {

// Writes a complete new file in place of the old one; false when nothing was written.
bool writeAtomically(const QString& path, const QByteArray& bytes);
// Reads the file and hands an existing one's bytes to decode, which tells whether they decoded;
// an unreadable or undecodable file is marked. Anything but a regular file (a FIFO, device, socket
// or directory) counts as unreadable and is never opened for reading in a way that could block. Writes wait
// meanwhile, so none can replace the file between a failed decode and its mark.
void readAndDecode(const QString& path, const std::function<bool(const QByteArray&)>& decode);

// Decodes every element of an array as an object with fromJson; one bad element fails the whole.
template <typename T, typename FromJson>
std::optional<QList<T>> decodeObjects(const QJsonArray& array, FromJson fromJson)
{
    QList<T> items;
    items.reserve(array.size());
    for (const auto& value : array) {
        if (!value.isObject())
            return std::nullopt;
        auto item = fromJson(value.toObject());
        if (!item)
            return std::nullopt;
        items.append(std::move(*item));
    }
    return items;
}

// A document that is one JSON array of records.
template <typename T, typename FromJson>
std::optional<QList<T>> decodeArrayDocument(const QByteArray& bytes, FromJson fromJson)
{
    const auto array = JsonText::parseArray(bytes);
    if (!array)
        return std::nullopt;
    return decodeObjects<T>(*array, fromJson);
}

// Reads and decodes a stored file. Missing gives nothing; a file that cannot be read or decoded
// gives nothing too and is marked, so the next write keeps it aside.
template <typename Decode> auto load(const QString& path, Decode decode) -> decltype(decode(QByteArray()))
{
    decltype(decode(QByteArray())) result;
    readAndDecode(path, [&](const QByteArray& bytes) {
        result = decode(bytes);
        return result.has_value();
    });
    return result;
}

} // namespace JsonFile
