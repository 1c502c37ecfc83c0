#include "platform/linux/hotkey/hotkey_routes.h"

#include "core/base/desktop_session.h"
#include "core/base/timing.h"
#include "platform/linux/hotkey/command_key_source.h"
#include "platform/linux/hotkey/kglobalaccel_key_source.h"
#include "platform/linux/hotkey/portal_key_source.h"
#include "platform/linux/portal/portal_version.h"
#include "platform/linux/x11/x11_key_source.h"

#include <QDBusConnection>

namespace {

// The portal is asked at launch only where no route before it exists; a portal that is slow to
// start must not hold the program up for long.
constexpr int kPortalProbeMs = 1500;

QString nameOf(HotkeyRoute route)
{
    switch (route) {
    case HotkeyRoute::X11Desktop:
        return QStringLiteral("X11 input events");
    case HotkeyRoute::Evdev:
        return QStringLiteral("keyboard devices");
    case HotkeyRoute::KGlobalAccel:
        return QStringLiteral("KDE global shortcuts");
    case HotkeyRoute::Portal:
        return QStringLiteral("shortcuts portal");
    case HotkeyRoute::CommandLine:
        break;
    }
    return QStringLiteral("compositor binding");
}

} // namespace

HotkeyRoute HotkeyRoutes::choose(const Offer& offer)
{
    if (!offer.waylandSession)
        return HotkeyRoute::X11Desktop;
    if (offer.keyboardsReadable)
        return HotkeyRoute::Evdev;
    if (offer.kglobalaccel)
        return HotkeyRoute::KGlobalAccel;
    if (offer.portalShortcuts > 0)
        return HotkeyRoute::Portal;
    return HotkeyRoute::CommandLine;
}

HotkeyRoutes::Choice HotkeyRoutes::make(Clock& clock, const Keyboards& keyboards)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    Offer offer;
    offer.waylandSession = DesktopSession::isWayland();
    offer.keyboardsReadable =
        offer.waylandSession && keyboards.readable && keyboards.make && keyboards.readable();
    offer.kglobalaccel =
        offer.waylandSession && !offer.keyboardsReadable && KGlobalAccelKeySource::offered(bus);
    if (offer.waylandSession && !offer.keyboardsReadable && !offer.kglobalaccel)
        offer.portalShortcuts = DesktopPortal::version(
            bus, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), kPortalProbeMs);

    Choice choice;
    choice.route = choose(offer);
    switch (choice.route) {
    case HotkeyRoute::X11Desktop:
        choice.source = std::make_unique<X11KeySource>();
        break;
    case HotkeyRoute::Evdev:
        choice.source = keyboards.make();
        break;
    case HotkeyRoute::KGlobalAccel:
        choice.source = std::make_unique<KGlobalAccelKeySource>(clock, bus);
        break;
    case HotkeyRoute::Portal:
        choice.source = std::make_unique<PortalKeySource>(clock, bus);
        break;
    case HotkeyRoute::CommandLine: {
        // Keys typed into our own windows still count, as they did before any binding existed.
        auto commands = std::make_unique<CommandKeySource>(clock, std::make_unique<X11KeySource>());
        choice.commands = commands.get();
        choice.source = std::move(commands);
        break;
    }
    }
    Timing::mark(QStringLiteral("hotkey: through %1").arg(nameOf(choice.route)));
    return choice;
}
