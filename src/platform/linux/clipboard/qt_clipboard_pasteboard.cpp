#include "platform/linux/clipboard/qt_clipboard_pasteboard.h"

#include "platform/linux/clipboard/mime_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

// Qt lists the targets of the X selection protocol and its own alias of image types among the
// formats of another program's clipboard; they are no contents to save or put back.
bool isContent(const QString& type)
{
    static const QStringList notContent{
        QStringLiteral("TARGETS"),
        QStringLiteral("MULTIPLE"),
        QStringLiteral("TIMESTAMP"),
        QStringLiteral("SAVE_TARGETS"),
        QStringLiteral("DELETE"),
        QStringLiteral("INCR"),
        QStringLiteral("INSERT_SELECTION"),
        QStringLiteral("INSERT_PROPERTY"),
        QStringLiteral("application/x-qt-image"),
    };
    return !notContent.contains(type);
}

} // namespace

QtClipboardPasteboard::QtClipboardPasteboard(QClipboard::Mode mode, QObject* parent)
    : QObject(parent)
    , m_mode(mode)
{
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode changed) {
        if (changed == m_mode && !m_writing)
            ++m_changeCount;
    });
}

const QMimeData* QtClipboardPasteboard::contents() const
{
    return QGuiApplication::clipboard()->mimeData(m_mode);
}

QStringList QtClipboardPasteboard::types() const
{
    const QMimeData* mime = contents();
    if (!mime)
        return {};
    QStringList types = mime->formats();
    types.removeIf([](const QString& type) { return !isContent(type); });
    return types;
}

std::optional<QByteArray> QtClipboardPasteboard::data(const QString& type) const
{
    const QMimeData* mime = contents();
    if (!mime || !isContent(type) || !mime->hasFormat(type))
        return std::nullopt;
    return mime->data(type);
}

std::optional<QString> QtClipboardPasteboard::plainText() const
{
    const QMimeData* mime = contents();
    if (!mime)
        return std::nullopt;
    return readableText(*mime);
}

void QtClipboardPasteboard::write(const QList<PasteboardItem>& items)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Our own write counts once, however often QClipboard reports it.
    m_writing = true;
    if (items.isEmpty()) {
        clipboard->clear(m_mode);
    } else {
        auto* mime = new QMimeData;
        for (const PasteboardItem& item : items)
            mime->setData(item.type, item.data);
        clipboard->setMimeData(mime, m_mode);
    }
    m_writing = false;
    ++m_changeCount;
}
