#include "platform/linux/session/session_probe.h"

#include "core/base/desktop_session.h"
#include "core/model/hotkey_routes.h"
#include "platform/linux/evdev/evdev_key_source.h"
#include "platform/linux/hotkey/kglobalaccel_key_source.h"
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
    offer.kwin = onBus(bus, QStringLiteral("org.kde.KWin"));
    offer.kglobalaccel = KGlobalAccelKeySource::offered(bus);
    offer.keyboardsReadable = EvdevKeySource::survey().verdict() == EvdevKeySource::Survey::Verdict::Readable;
    // The portal is asked only where a route could come to need it: asking may start it. Keys
    // read from the keyboards never fail, so no hotkey route falls back past them.
    const bool keysNeedPortal = SessionRoutes::choose(offer).keys == KeyRoute::Unavailable;
    const bool hotkeyMayNeedPortal = HotkeyRoutes::choose(offer).first() != HotkeyRoute::Evdev;
    if (keysNeedPortal || hotkeyMayNeedPortal) {
        const QList<uint> versions =
            DesktopPortal::versions(bus,
                                    {QStringLiteral("org.freedesktop.portal.RemoteDesktop"),
                                     QStringLiteral("org.freedesktop.portal.GlobalShortcuts")},
                                    portalTimeoutMs);
        offer.remoteDesktopPortal = versions.at(0);
        offer.shortcutsPortal = versions.at(1);
    }
    return offer;
}

} // namespace SessionProbe
