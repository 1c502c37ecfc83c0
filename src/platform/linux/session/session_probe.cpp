#include "platform/linux/session/session_probe.h"

#include "core/base/desktop_session.h"
#include "platform/linux/portal/portal_version.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>

namespace {

bool onBus(const QDBusConnection& bus, const QString& name)
{
    QDBusConnectionInterface* names = bus.interface();
    return names && names->isServiceRegistered(name).value();
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
        offer.remoteDesktopPortal = DesktopPortal::version(
            bus, QStringLiteral("org.freedesktop.portal.RemoteDesktop"), SessionProbe::portalTimeoutMs);
    return offer;
}

} // namespace SessionProbe
