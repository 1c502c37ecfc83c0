#pragma once

#include "platform/pasteboard_item.h"
#include "test_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

#include <optional>

// Clipboard contents for the clipboard backends' tests, and their form on a child's command line.
namespace PasteboardSamples {

inline PasteboardItem item(const char* type, const QByteArray& data)
{
    return {s(type), data};
}

// A PNG of one pixel; its bytes include NUL and high bytes, which must pass untouched.
inline const QByteArray png = QByteArray::fromBase64(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");

inline const QList<PasteboardItem> multiType{
    item("text/plain", QString::fromUtf8("Grüße aus Wien").toUtf8()),
    item("text/html", QString::fromUtf8("<p>Grüße aus <b>Wien</b></p>").toUtf8()),
    item("image/png", png),
    item("text/uri-list", "file:///tmp/a%20b.txt\r\n"),
};

inline QByteArray encode(const QList<PasteboardItem>& items)
{
    QJsonArray array;
    for (const PasteboardItem& item : items)
        array.append(QJsonObject{{QStringLiteral("type"), item.type},
                                 {QStringLiteral("data"), QString::fromLatin1(item.data.toBase64())}});
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

inline std::optional<QList<PasteboardItem>> decode(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isArray())
        return std::nullopt;
    QList<PasteboardItem> items;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject object = value.toObject();
        items.append({object.value(QStringLiteral("type")).toString(),
                      QByteArray::fromBase64(object.value(QStringLiteral("data")).toString().toLatin1())});
    }
    return items;
}

} // namespace PasteboardSamples
