#pragma once

#include "platform/pasteboard_item.h"
#include "platform/pasteboard_snapshot.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The desktop's clipboard (not the primary selection). Main thread only.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Grows with every change of the contents, by this program or any other; compare, never count.
    virtual quint64 changeCount() const = 0;
    // The MIME types on offer, in the owner's order.
    virtual QStringList types() const = 0;
    // Absent when the type is not on offer; may be empty when it is.
    virtual std::optional<QByteArray> data(const QString& type) const = 0;
    // The text/plain text when it holds more than white space, else the text of the HTML on offer
    // when that does; absent otherwise.
    virtual std::optional<QString> plainText() const = 0;
    // Replaces the contents with these items, in this order; no items leaves the clipboard empty.
    virtual void write(const QList<PasteboardItem>& items) = 0;

    // Every type with data, in the owner's order, and the plain text.
    virtual PasteboardSnapshot snapshot() const
    {
        PasteboardSnapshot snapshot;
        for (const QString& type : types()) {
            std::optional<QByteArray> bytes = data(type);
            if (bytes && !bytes->isEmpty())
                snapshot.items.append({type, std::move(*bytes)});
        }
        snapshot.text = plainText();
        return snapshot;
    }
    void restore(const PasteboardSnapshot& snapshot) { write(snapshot.items); }
    void writeText(const QString& text) { write({{QStringLiteral("text/plain"), text.toUtf8()}}); }
    void clear() { write({}); }
};
