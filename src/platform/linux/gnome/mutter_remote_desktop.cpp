#include "platform/linux/gnome/mutter_remote_desktop.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QEvent>

const QString MutterRemoteDesktop::service = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
const QString MutterRemoteDesktop::sessionInterface =
    QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session");

namespace {

const QString objectPath = QStringLiteral("/org/gnome/Mutter/RemoteDesktop");

QString errorText(const QDBusMessage& reply)
{
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
}

} // namespace

MutterRemoteDesktop::MutterRemoteDesktop(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
{
}

MutterRemoteDesktop::~MutterRemoteDesktop()
{
    if (m_path.isEmpty())
        return;
    connectSignals(m_path, false);
    m_bus.call(QDBusMessage::createMethodCall(service, m_path, sessionInterface, QStringLiteral("Stop")),
               QDBus::Block, callTimeoutMs);
}

Result<QString, MutterRemoteDesktop::Failure> MutterRemoteDesktop::session()
{
    if (!m_path.isEmpty())
        return m_path;
    return start();
}

Result<QString, MutterRemoteDesktop::Failure> MutterRemoteDesktop::start()
{
    if (!m_bus.isConnected())
        return Failure{QStringLiteral("no session bus to reach the desktop's remote-desktop service")};
    if (!m_bus.interface()->isServiceRegistered(service).value())
        return Failure{
            QStringLiteral("the desktop offers no remote-desktop service (%1 is not on the session bus)")
                .arg(service)};

    const QDBusMessage created = m_bus.call(
        QDBusMessage::createMethodCall(service, objectPath, service, QStringLiteral("CreateSession")),
        QDBus::Block, callTimeoutMs);
    if (created.type() != QDBusMessage::ReplyMessage || created.arguments().isEmpty())
        return Failure{QStringLiteral("the desktop refused a remote-desktop session: ") + errorText(created)};
    const QString path = created.arguments().constFirst().value<QDBusObjectPath>().path();

    // Listening first: the session may speak as soon as it starts.
    connectSignals(path, true);
    const QDBusMessage started =
        m_bus.call(QDBusMessage::createMethodCall(service, path, sessionInterface, QStringLiteral("Start")),
                   QDBus::Block, callTimeoutMs);
    if (started.type() != QDBusMessage::ReplyMessage) {
        connectSignals(path, false);
        m_bus.call(QDBusMessage::createMethodCall(service, path, sessionInterface, QStringLiteral("Stop")),
                   QDBus::NoBlock);
        return Failure{QStringLiteral("the desktop did not start the remote-desktop session: ") +
                       errorText(started)};
    }
    m_path = path;
    ++m_generation;
    emit this->started();
    return m_path;
}

Result<QDBusMessage, MutterRemoteDesktop::Failure> MutterRemoteDesktop::call(const QString& method,
                                                                             const QVariantList& args)
{
    const auto path = session();
    if (!path.ok())
        return path.error();
    QDBusMessage message = QDBusMessage::createMethodCall(service, path.value(), sessionInterface, method);
    message.setArguments(args);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Failure{method + QStringLiteral(": ") + errorText(reply), reply.errorName()};
    return reply;
}

void MutterRemoteDesktop::deliverReceivedSignals()
{
    // The bus connection's thread posts each signal to this object as a meta-call event, in the
    // order the messages arrived, before it wakes the caller waiting on a later reply.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void MutterRemoteDesktop::onClosed()
{
    if (m_path.isEmpty())
        return;
    connectSignals(m_path, false);
    m_path.clear();
    emit closed();
}

void MutterRemoteDesktop::connectSignals(const QString& path, bool connect)
{
    struct Signal {
        const char* name;
        const char* target;
    };
    const Signal signals_[] = {
        {"SelectionOwnerChanged", SIGNAL(selectionOwnerChanged(QVariantMap))},
        {"SelectionTransfer", SIGNAL(selectionTransfer(QString, uint))},
        {"Closed", SLOT(onClosed())},
    };
    for (const Signal& signal : signals_) {
        if (connect)
            m_bus.connect(service, path, sessionInterface, QString::fromLatin1(signal.name), this,
                          signal.target);
        else
            m_bus.disconnect(service, path, sessionInterface, QString::fromLatin1(signal.name), this,
                             signal.target);
    }
}
