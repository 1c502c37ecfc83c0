#pragma once

#include "platform/pasteboard.h"

#include <QObject>
#include <QVariantMap>

class MutterRemoteDesktop;

// The desktop's clipboard through the GNOME compositor's remote-desktop session, which reads and
// owns it whichever window has the focus (QClipboard on Wayland reads nothing then, and reports
// writes that never reached the desktop). The compositor announces every new owner with the types
// it offers; ours is served from memory, another program's is read type by type through a pipe.
class MutterPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MutterPasteboard)

public:
    // For each type read from, or handed to, another program: long enough for an image, short
    // enough that an owner that stopped answering does not hold the paste.
    static constexpr int transferLimitMs = 1000;

    explicit MutterPasteboard(MutterRemoteDesktop& desktop, QObject* parent = nullptr);

    // Take in the compositor's notices received so far, so a copy made a moment ago counts.
    quint64 changeCount() const override;
    QStringList types() const override;
    std::optional<QByteArray> data(const QString& type) const override;
    std::optional<QString> plainText() const override;
    void write(const QList<PasteboardItem>& items) override;
    PasteboardSnapshot snapshot() const override;

    // Why the clipboard cannot be reached; empty while it can.
    QString unavailableReason() const { return m_unavailable; }

private:
    bool enable();
    void offer(const QStringList& types);
    void ownerChanged(const QVariantMap& options);
    void transfer(const QString& type, uint serial);
    std::optional<QByteArray> readOffered(const QString& type) const;

    MutterRemoteDesktop& m_desktop;
    QString m_unavailable;
    quint64 m_enabledGeneration = 0;
    quint64 m_changeCount = 0;
    QStringList m_types;      // on offer now, in the owner's order
    bool m_ours = false;      // the offer is our last write
    bool m_releasing = false; // an empty clipboard announced now is our own doing
    QList<PasteboardItem> m_written;
    mutable bool m_readAbandoned = false; // the last read of another program's copy did not finish
};
