#include "core/model/hotkey_routes.h"

HotkeyRoutes HotkeyRoutes::choose(const SessionOffer& offer)
{
    // X11 reports every key to any client that asks.
    if (!offer.wayland)
        return {};
    HotkeyRoutes routes{.order = {}};
    // The kernel's keys: left and right apart, taps and Escape, over every window.
    if (offer.keyboardsReadable)
        routes.order.append(HotkeyRoute::Evdev);
    if (offer.kglobalaccel)
        routes.order.append(HotkeyRoute::KGlobalAccel);
    if (offer.shortcutsPortal > 0)
        routes.order.append(HotkeyRoute::Portal);
    // Mutter and KWin have no configuration that binds a command to a key's release, and their own
    // shortcuts report only presses; the compositors configured by file (sway, Hyprland) have one.
    const bool bindings = !offer.mutterRemoteDesktop && !offer.kwin;
    routes.order.append(bindings ? HotkeyRoute::CommandLine : HotkeyRoute::OwnWindows);
    return routes;
}

std::optional<HotkeyRoute> HotkeyRoutes::after(HotkeyRoute failed) const
{
    const qsizetype at = order.indexOf(failed);
    if (at < 0 || at + 1 >= order.size())
        return std::nullopt;
    return order.at(at + 1);
}

QString HotkeyRoutes::describe() const
{
    QStringList names;
    for (const HotkeyRoute route : order)
        names.append(HotkeyRouteText::names.text(route));
    return QStringLiteral("hotkey routes: %1").arg(names.join(QLatin1String(", ")));
}
