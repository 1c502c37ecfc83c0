#include "platform/linux/portal/portal_version.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>

QList<uint> DesktopPortal::versions(const QDBusConnection& bus, const QStringList& interfaces, int timeoutMs,
                                    const QString& portal)
{
    QList<uint> found(interfaces.size(), 0);
    QDBusConnectionInterface* names = bus.isConnected() ? bus.interface() : nullptr;
    if (!names)
        return found;
    // A bus with no portal at all answers at once here instead of after the time-out.
    if (!names->isServiceRegistered(portal).value() &&
        !names->activatableServiceNames().value().contains(portal))
        return found;
    QList<QDBusPendingCall> asked;
    for (const QString& interface : interfaces) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            portal, QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << interface << QStringLiteral("version");
        asked.append(bus.asyncCall(get, timeoutMs));
    }
    for (qsizetype i = 0; i < asked.size(); ++i) {
        asked[i].waitForFinished();
        const QDBusMessage reply = asked.at(i).reply();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            found[i] = reply.arguments().constFirst().value<QDBusVariant>().variant().toUInt();
    }
    return found;
}
