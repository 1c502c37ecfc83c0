#pragma once

#include "platform/pasteboard.h"

#include <QClipboard>
#include <QObject>

// The desktop's clipboard, or its primary selection, through QClipboard; needs a QGuiApplication.
// Other programs' copies reach the change count through QClipboard's change signals (XFixes
// selection events on X11).
class QtClipboardPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QtClipboardPasteboard)

public:
    explicit QtClipboardPasteboard(QClipboard::Mode mode = QClipboard::Clipboard, QObject* parent = nullptr);

    quint64 changeCount() const override { return m_changeCount; }
    QStringList types() const override;
    std::optional<QByteArray> data(const QString& type) const override;
    std::optional<QString> plainText() const override;
    void write(const QList<PasteboardItem>& items) override;

private:
    const QMimeData* contents() const;

    const QClipboard::Mode m_mode;
    quint64 m_changeCount = 0;
    bool m_writing = false;
};
