#pragma once

#include "private_bus.h"
#include "test_text.h"

#include "platform/linux/gnome/mutter_remote_desktop.h"
#include "platform/pasteboard_item.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QList>
#include <QMutex>
#include <QVariantMap>

#include <unistd.h>

// The compositor's remote-desktop service, answering or refusing as told. Its clipboard holds
// another program's copy, read as the compositor reads it: one read at a time.
class FakeMutter final : public FakeService {
public:
    static inline const QString sessionPath = QStringLiteral("/org/gnome/Mutter/RemoteDesktop/Session/fake");

    struct Refusals {
        QString create = {}; // CreateSession's error message; empty to answer
        QString start = {};
    };
    struct Reads {
        int refusedAfterEach = 0; // reads refused as parallel once the one before was handed over
        bool stall = false;       // the owner never finishes sending
    };

    FakeMutter(const PrivateBus& bus, Refusals refusals)
        : FakeMutter(bus, std::move(refusals), Reads{})
    {
    }
    FakeMutter(const PrivateBus& bus, Refusals refusals, Reads reads)
        : FakeService(bus, MutterRemoteDesktop::service, s("/org/gnome/Mutter/RemoteDesktop"))
        , m_refusals(std::move(refusals))
        , m_reads(reads)
    {
    }
    ~FakeMutter() override
    {
        stop();
        for (const int fd : m_stalled)
            ::close(fd);
    }
    Q_DISABLE_COPY_MOVE(FakeMutter)

    void closeSession()
    {
        send(QDBusMessage::createSignal(sessionPath, MutterRemoteDesktop::sessionInterface, s("Closed")));
    }
    // Another program copies `items`.
    void copy(const QList<PasteboardItem>& items)
    {
        QStringList types;
        {
            const QMutexLocker lock(&m_clipboardMutex);
            m_clipboard = items;
            for (const PasteboardItem& item : items)
                types << item.type;
        }
        QDBusMessage changed = QDBusMessage::createSignal(sessionPath, MutterRemoteDesktop::sessionInterface,
                                                          s("SelectionOwnerChanged"));
        changed << QVariantMap{{s("mime-types"), types}};
        send(changed);
    }

private:
    void answer(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString& member = message.member();
        const QString refusal = member == QLatin1String("CreateSession") ? m_refusals.create
                                : member == QLatin1String("Start")       ? m_refusals.start
                                                                         : QString();
        QDBusMessage reply = message.createReply();
        if (!refusal.isEmpty())
            reply = message.createErrorReply(s("org.freedesktop.DBus.Error.Failed"), refusal);
        else if (member == QLatin1String("CreateSession"))
            reply = message.createReply(QVariant::fromValue(QDBusObjectPath(sessionPath)));
        else if (member == QLatin1String("SelectionRead"))
            reply = read(message, message.arguments().value(0).toString());
        record({member, message.arguments().mid(0, 1)});
        connection.send(reply);
    }

    // On the service's thread.
    QDBusMessage read(const QDBusMessage& message, const QString& type)
    {
        const bool windingUp = m_refusalsLeft > 0;
        if (windingUp)
            --m_refusalsLeft;
        if (windingUp || !m_stalled.isEmpty())
            return message.createErrorReply(s("org.freedesktop.DBus.Error.LimitsExceeded"),
                                            s("Tried to read in parallel"));
        QByteArray data;
        {
            const QMutexLocker lock(&m_clipboardMutex);
            for (const PasteboardItem& item : m_clipboard) {
                if (item.type == type)
                    data = item.data;
            }
        }
        int ends[2];
        if (::pipe(ends) != 0)
            return message.createErrorReply(s("org.freedesktop.DBus.Error.Failed"), s("no pipe"));
        if (m_reads.stall) {
            m_stalled << ends[1];
        } else {
            // Small enough for the pipe's buffer.
            [[maybe_unused]] const ssize_t written = ::write(ends[1], data.constData(), size_t(data.size()));
            ::close(ends[1]);
            m_refusalsLeft = m_reads.refusedAfterEach;
        }
        QDBusMessage reply = message.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[0])));
        ::close(ends[0]);
        return reply;
    }

    const Refusals m_refusals;
    const Reads m_reads;
    int m_refusalsLeft = 0;
    QList<int> m_stalled; // write ends of reads the owner never finishes
    QMutex m_clipboardMutex;
    QList<PasteboardItem> m_clipboard;
};
