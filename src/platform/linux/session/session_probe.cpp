#include "platform/linux/session/session_probe.h"

#include "core/base/desktop_session.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");

bool onBus(const QDBusConnection& bus, const QString& name)
{
    QDBusConnectionInterface* names = bus.interface();
    return names && names->isServiceRegistered(name).value();
}

// Zero where no portal answers. Asking may start the portal through D-Bus activation.
uint remoteDesktopPortalVersion(const QDBusConnection& bus)
{
    QDBusConnectionInterface* names = bus.interface();
    if (!names)
        return 0;
    const QStringList activatable =
        names->call(QStringLiteral("ListActivatableNames")).arguments().value(0).toStringList();
    if (!onBus(bus, portalService) && !activatable.contains(portalService))
        return 0;
    QDBusMessage get = QDBusMessage::createMethodCall(
        portalService, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.portal.RemoteDesktop") << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, SessionProbe::portalTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return 0;
    return reply.arguments().value(0).value<QDBusVariant>().variant().toUInt();
}

} // namespace

namespace SessionProbe {

SessionOffer offer(const QByteArrayList& globals)
{
    SessionOffer offer{.wayland = DesktopSession::isWayland(),
                       .qtOnX11 = QGuiApplication::platformName() == QLatin1String("xcb"),
                       .globals = globals};
    if (!offer.wayland)
        return offer;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    offer.mutterRemoteDesktop = onBus(bus, QStringLiteral("org.gnome.Mutter.RemoteDesktop"));
    // The portal is asked only where nothing better could be chosen: asking may start it.
    const SessionOffer without{.wayland = true,
                               .qtOnX11 = offer.qtOnX11,
                               .globals = globals,
                               .mutterRemoteDesktop = offer.mutterRemoteDesktop};
    if (SessionRoutes::choose(without).keys == KeyRoute::Unavailable)
        offer.remoteDesktopPortal = remoteDesktopPortalVersion(bus);
    return offer;
}

} // namespace SessionProbe
