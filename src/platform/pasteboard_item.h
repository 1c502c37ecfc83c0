#pragma once

#include <QByteArray>
#include <QString>

// One representation on the clipboard: a MIME type and its bytes.
struct PasteboardItem {
    QString type;
    QByteArray data;

    friend bool operator==(const PasteboardItem&, const PasteboardItem&) = default;
};
