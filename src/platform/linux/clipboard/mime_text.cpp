#include "platform/linux/clipboard/mime_text.h"

#include <QTextDocumentFragment>

namespace {

std::optional<QString> unlessBlank(QString text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> readableText(const QMimeData& mime)
{
    if (mime.hasFormat(QStringLiteral("text/plain")) ||
        mime.hasFormat(QStringLiteral("text/plain;charset=utf-8"))) {
        if (auto text = unlessBlank(mime.text()))
            return text;
    }
    if (mime.hasHtml())
        return unlessBlank(QTextDocumentFragment::fromHtml(mime.html()).toPlainText());
    return std::nullopt;
}
