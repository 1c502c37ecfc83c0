#pragma once

#include "core/base/enum_table.h"
#include "core/model/session_routes.h"

#include <QList>
#include <QString>

#include <optional>

// Where the hotkey's presses come from: what onboarding and home explain.
enum class HotkeyRoute {
    // XInput 2 on an X11 session: every key of the desktop.
    X11Desktop,
    // The keyboards under /dev/input, readable by the user: every key, in every session.
    Evdev,
    // KDE's global shortcut service: press and release of a lone modifier, left and right as one.
    KGlobalAccel,
    // The desktop portal's global shortcuts: a key the desktop lets the user confirm or change.
    Portal,
    // A binding in the compositor's configuration that runs `quenda --hotkey press|release`.
    CommandLine,
    // Keys typed into Quenda's own windows only: the desktop has neither global keys nor bindings.
    OwnWindows,
};

// The hotkey routes a session offers, in the order they are tried: the first one runs, and one that
// fails at run time hands over to the next. The last one cannot fail.
struct HotkeyRoutes {
    QList<HotkeyRoute> order = {HotkeyRoute::X11Desktop};

    static HotkeyRoutes choose(const SessionOffer& offer);

    HotkeyRoute first() const { return order.constFirst(); }
    // The route that takes over when `failed` stops working; none after the last.
    std::optional<HotkeyRoute> after(HotkeyRoute failed) const;
    // One line for the timing log.
    QString describe() const;

    friend bool operator==(const HotkeyRoutes&, const HotkeyRoutes&) = default;
};

// The route in use and the ones that failed before it, oldest first: what the notices say.
struct HotkeyRouteStatus {
    HotkeyRoute route = HotkeyRoute::X11Desktop;
    QList<HotkeyRoute> failed = {};

    friend bool operator==(const HotkeyRouteStatus&, const HotkeyRouteStatus&) = default;
};

namespace HotkeyRouteText {

// The names the log and the notices' text keys ("hotkeyRoute.<name>") use.
inline constexpr EnumTable<HotkeyRoute>::Row rows[] = {
    {HotkeyRoute::X11Desktop, QLatin1String("x11Desktop")},
    {HotkeyRoute::Evdev, QLatin1String("evdev")},
    {HotkeyRoute::KGlobalAccel, QLatin1String("kglobalaccel")},
    {HotkeyRoute::Portal, QLatin1String("portal")},
    {HotkeyRoute::CommandLine, QLatin1String("commandLine")},
    {HotkeyRoute::OwnWindows, QLatin1String("ownWindows")},
};
inline constexpr EnumTable<HotkeyRoute> names{rows, HotkeyRoute::OwnWindows};

} // namespace HotkeyRouteText
