#include "core/model/session_routes.h"

namespace {

KeyRoute keyRoute(const SessionOffer& offer)
{
    if (offer.globals.contains("zwp_virtual_keyboard_manager_v1"))
        return KeyRoute::VirtualKeyboard;
    if (offer.globals.contains("org_kde_kwin_fake_input"))
        return KeyRoute::KwinFakeInput;
    if (offer.mutterRemoteDesktop)
        return KeyRoute::MutterRemoteDesktop;
    if (offer.remoteDesktopPortal > 0)
        return KeyRoute::RemoteDesktopPortal;
    return KeyRoute::Unavailable;
}

ClipboardRoute clipboardRoute(const SessionOffer& offer)
{
    if (offer.globals.contains("ext_data_control_manager_v1") ||
        offer.globals.contains("zwlr_data_control_manager_v1"))
        return ClipboardRoute::DataControl;
    if (offer.mutterRemoteDesktop)
        return ClipboardRoute::MutterSession;
    return ClipboardRoute::Unavailable;
}

PrimaryRoute primaryRoute(const SessionOffer& offer, ClipboardRoute clipboard)
{
    if (clipboard == ClipboardRoute::DataControl)
        return PrimaryRoute::DataControl;
    if (clipboard != ClipboardRoute::Unavailable && offer.qtOnX11)
        return PrimaryRoute::X11;
    return PrimaryRoute::Unavailable;
}

} // namespace

SessionRoutes SessionRoutes::choose(const SessionOffer& offer)
{
    if (!offer.wayland)
        return {};
    SessionRoutes routes{.wayland = true, .keys = keyRoute(offer), .clipboard = clipboardRoute(offer)};
    // A paste chord without our text on the clipboard would paste whatever the user copied last.
    if (routes.clipboard == ClipboardRoute::Unavailable)
        routes.keys = KeyRoute::Unavailable;
    // Compositors differ in what their X11 window manager makes of a window that asks for no focus:
    // mutter leaves the focus alone, sway hands it over. A window outside the manager gets none.
    routes.panel = offer.qtOnX11 ? PanelRoute::X11OutsideManager : PanelRoute::Hidden;
    routes.primary = primaryRoute(offer, routes.clipboard);
    return routes;
}

QStringList SessionRoutes::needs() const
{
    if (keys == KeyRoute::RemoteDesktopPortal)
        return {QStringLiteral("session.needs.portalApproval")};
    return {};
}

QStringList SessionRoutes::gaps() const
{
    QStringList gaps;
    if (clipboard == ClipboardRoute::Unavailable)
        gaps.append(QStringLiteral("session.gap.clipboard"));
    else if (keys == KeyRoute::Unavailable)
        gaps.append(QStringLiteral("session.gap.keys"));
    if (panel == PanelRoute::Hidden)
        gaps.append(QStringLiteral("session.gap.panel"));
    return gaps;
}

QString SessionRoutes::describe() const
{
    return QStringLiteral("session: %1, keys %2, clipboard %3, panel %4")
        .arg(wayland ? QStringLiteral("wayland") : QStringLiteral("x11"), SessionRouteText::keys.text(keys),
             SessionRouteText::clipboard.text(clipboard), SessionRouteText::panel.text(panel));
}
