#include "platform/fake/fake_pasteboard.h"

QStringList FakePasteboard::types() const
{
    QStringList types;
    for (const PasteboardItem& item : m_items)
        types << item.type;
    return types;
}

std::optional<QByteArray> FakePasteboard::data(const QString& type) const
{
    for (const PasteboardItem& item : m_items) {
        if (item.type == type)
            return item.data;
    }
    return std::nullopt;
}

std::optional<QString> FakePasteboard::plainText() const
{
    const auto bytes = data(QStringLiteral("text/plain"));
    if (!bytes)
        return std::nullopt;
    QString text = QString::fromUtf8(*bytes);
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return text;
}

void FakePasteboard::write(const QList<PasteboardItem>& items)
{
    m_items = items;
    ++m_changeCount;
}
