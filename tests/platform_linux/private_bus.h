#pragma once

#include "test_text.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QVariantMap>

#include <optional>
#include <ostream>

// A session bus of the test's own, where a desktop service can be absent, a fake or a compositor's.
class PrivateBus final {
public:
    // The name a fake that the bus starts on demand waits under (see FakeService).
    static QString starterOf(const QString& service) { return s("de.morvane.quenda.test.start.") + service; }

    PrivateBus() { start({QStringLiteral("--session")}); }
    // A bus that can start only `startable` services: starting one has the fake waiting under its
    // starter name take it, as a desktop service not yet running at login is started by its first call.
    explicit PrivateBus(const QStringList& startable)
    {
        QFile config(m_services.filePath(s("bus.conf")));
        config.open(QIODevice::WriteOnly);
        config.write(
            "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
            "<servicedir>" +
            m_services.path().toUtf8() +
            "</servicedir><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
            "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        for (const QString& service : startable) {
            QFile file(m_services.filePath(service + s(".service")));
            file.open(QIODevice::WriteOnly);
            file.write("[D-BUS Service]\nName=" + service.toUtf8() +
                       "\nExec=/bin/sh -c 'exec dbus-send --bus=\"$DBUS_STARTER_ADDRESS\" --print-reply "
                       "--dest=" +
                       starterOf(service).toUtf8() + " / de.morvane.quenda.test.Start'\n");
        }
        start({s("--config-file=") + config.fileName()});
    }
    ~PrivateBus()
    {
        for (const QString& name : {s("fake"), s("client")})
            QDBusConnection::disconnectFromBus(name + QLatin1Char('@') + m_address);
        m_daemon.terminate();
        m_daemon.waitForFinished(2000);
    }
    Q_DISABLE_COPY_MOVE(PrivateBus)

    QString address() const { return m_address; }
    // A connection of its own for each caller, so none outlives this bus.
    QDBusConnection connect(const QString& name) const
    {
        return QDBusConnection::connectToBus(m_address, name + QLatin1Char('@') + m_address);
    }

private:
    void start(QStringList arguments)
    {
        arguments << QStringLiteral("--nofork") << QStringLiteral("--print-address=1");
        m_daemon.start(QStringLiteral("dbus-daemon"), arguments);
        if (m_daemon.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
    }

    QTemporaryDir m_services;
    QProcess m_daemon;
    QString m_address;
};

// A call a fake service answered: its member and the arguments the fake keeps of it.
struct BusCall {
    QString member;
    QVariantList args = {};
    bool operator==(const BusCall&) const = default;
    friend void PrintTo(const BusCall& call, std::ostream* out)
    {
        *out << call.member.toStdString();
        for (const QVariant& arg : call.args)
            *out << ' ' << arg.toString().toStdString();
    }
};

// A service on the private bus, on its own thread: the code under test blocks the main one while
// it waits for the answers. Subclasses answer the calls and must stop() first in their destructor.
// One the bus starts on demand takes its name only when the bus starts it.
class FakeService : public QDBusVirtualObject {
public:
    enum class Start { Running, OnDemand };

    FakeService(const PrivateBus& bus, const QString& service, const QString& path,
                Start start = Start::Running)
        : m_bus(bus.connect(s("fake")))
        , m_path(path)
        , m_service(service)
    {
        if (start == Start::OnDemand) {
            m_bus.registerVirtualObject(s("/"), this);
            m_bus.registerService(PrivateBus::starterOf(service));
        }
        m_bus.registerVirtualObject(m_path, this, QDBusConnection::SubPath);
        if (start == Start::Running)
            m_bus.registerService(service);
        m_thread.start();
        moveToThread(&m_thread);
        // Qt lets a new bus connection dispatch only from the next turn of the main thread's loop.
        QCoreApplication::processEvents();
    }
    Q_DISABLE_COPY_MOVE(FakeService)

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) final
    {
        if (message.interface() == QLatin1String("de.morvane.quenda.test")) {
            m_bus.registerService(m_service);
            connection.send(message.createReply());
            return true;
        }
        answer(message, connection);
        return true;
    }
    QList<BusCall> calls() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_calls;
    }
    // The calls of that member, or the members of every call.
    QList<BusCall> calls(const QString& member) const
    {
        QList<BusCall> found = calls();
        found.removeIf([&member](const BusCall& call) { return call.member != member; });
        return found;
    }
    QStringList members() const
    {
        QStringList names;
        for (const BusCall& call : calls())
            names << call.member;
        return names;
    }
    void send(const QDBusMessage& signal) { m_bus.send(signal); }

protected:
    // A desktop portal's answer to `call`: the path of its request at once, then the request's
    // Response unless the user never answers. A call without options (a session's Close) asks nothing.
    static void answerRequest(const QDBusMessage& call, const QDBusConnection& connection,
                              std::optional<uint> response, const QVariantMap& results = {})
    {
        if (call.arguments().isEmpty()) {
            connection.send(call.createReply());
            return;
        }
        QString sender = call.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request =
            s("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') +
            qdbus_cast<QVariantMap>(call.arguments().constLast()).value(s("handle_token")).toString();
        connection.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (!response)
            return;
        QDBusMessage signal =
            QDBusMessage::createSignal(request, s("org.freedesktop.portal.Request"), s("Response"));
        signal.setArguments({*response, results});
        connection.send(signal);
    }

    virtual void answer(const QDBusMessage& message, const QDBusConnection& connection) = 0;
    void record(const BusCall& call)
    {
        const QMutexLocker lock(&m_mutex);
        m_calls << call;
    }
    void stop()
    {
        m_bus.unregisterObject(m_path, QDBusConnection::UnregisterTree);
        m_bus.unregisterObject(s("/"));
        m_thread.quit();
        m_thread.wait();
    }

private:
    QDBusConnection m_bus;
    const QString m_path;
    const QString m_service;
    QThread m_thread;
    mutable QMutex m_mutex;
    QList<BusCall> m_calls;
};
