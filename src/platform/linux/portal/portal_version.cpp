#include "platform/linux/portal/portal_version.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

uint DesktopPortal::version(const QDBusConnection& bus, const QString& interface, int timeoutMs,
                            const QString& portal)
{
    QDBusConnectionInterface* names = bus.isConnected() ? bus.interface() : nullptr;
    if (!names)
        return 0;
    // A bus with no portal at all answers at once here instead of after the time-out.
    if (!names->isServiceRegistered(portal).value() &&
        !names->activatableServiceNames().value().contains(portal))
        return 0;
    QDBusMessage get = QDBusMessage::createMethodCall(
        portal, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << interface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toUInt();
}
