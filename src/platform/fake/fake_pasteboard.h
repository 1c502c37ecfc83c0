#pragma once

#include "platform/pasteboard.h"

// An in-memory clipboard. Another program's copy is a write() as well; HTML is never read as text.
class FakePasteboard final : public Pasteboard {
public:
    quint64 changeCount() const override { return m_changeCount; }
    QStringList types() const override;
    std::optional<QByteArray> data(const QString& type) const override;
    std::optional<QString> plainText() const override;
    void write(const QList<PasteboardItem>& items) override;

    const QList<PasteboardItem>& items() const { return m_items; }

private:
    QList<PasteboardItem> m_items;
    quint64 m_changeCount = 0;
};
