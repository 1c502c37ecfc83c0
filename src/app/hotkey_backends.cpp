#include "app/hotkey_backends.h"

#include "platform/linux/evdev/evdev_key_source.h"
#include "platform/linux/hotkey/command_key_source.h"
#include "platform/linux/hotkey/kglobalaccel_key_source.h"
#include "platform/linux/hotkey/portal_key_source.h"
#include "platform/linux/x11/x11_key_source.h"

#include <QDBusConnection>

HotkeyBackends::HotkeyBackends(Clock& clock, const SessionOffer& offer)
    : m_clock(clock)
    , m_source(HotkeyRoutes::choose(offer), [this](HotkeyRoute route) { return build(route); })
{
}

HotkeyBackends::~HotkeyBackends() = default;

std::unique_ptr<KeySource> HotkeyBackends::build(HotkeyRoute route)
{
    switch (route) {
    case HotkeyRoute::X11Desktop:
        return std::make_unique<X11KeySource>();
    case HotkeyRoute::Evdev:
        return std::make_unique<EvdevKeySource>();
    case HotkeyRoute::KGlobalAccel:
        return std::make_unique<KGlobalAccelKeySource>(m_clock, QDBusConnection::sessionBus());
    case HotkeyRoute::Portal:
        return std::make_unique<PortalKeySource>(m_clock, QDBusConnection::sessionBus());
    case HotkeyRoute::CommandLine:
    // No binding is offered here, but a command that comes is still heard: nothing else reports
    // the keys of other windows.
    case HotkeyRoute::OwnWindows:
        break;
    }
    // Keys typed into our own windows still count, as they did before any binding existed.
    auto commands = std::make_unique<CommandKeySource>(m_clock, std::make_unique<X11KeySource>());
    m_commands = commands.get();
    return commands;
}
