#pragma once

#include "core/model/hotkey_route.h"
#include "platform/key_source.h"

#include <functional>
#include <memory>

class Clock;
class CommandKeySource;

// Picks where the hotkey comes from, by what the session offers rather than by the desktop's name.
namespace HotkeyRoutes {

// What the session offers.
struct Offer {
    bool waylandSession = false;
    // Keyboards under /dev/input that this user may read.
    bool keyboardsReadable = false;
    // KDE's global shortcut service has an owner on the session bus.
    bool kglobalaccel = false;
    // The version of the portal's global shortcuts; 0 where there are none.
    uint portalShortcuts = 0;
};

// On X11 the desktop's own input events come first; in a Wayland session the keyboards, then
// KDE's shortcuts, then the portal, and a compositor binding where nothing else is offered.
HotkeyRoute choose(const Offer& offer);

// What the keyboards route needs from its backend.
struct Keyboards {
    std::function<bool()> readable;
    std::function<std::unique_ptr<KeySource>()> make;
};

struct Choice {
    HotkeyRoute route = HotkeyRoute::X11Desktop;
    std::unique_ptr<KeySource> source;
    // Set on the command-line route: where `quenda --hotkey` commands go.
    CommandKeySource* commands = nullptr;
};

// Probes this session (the portal only when nothing before it is offered) and builds the source.
Choice make(Clock& clock, const Keyboards& keyboards);

} // namespace HotkeyRoutes
