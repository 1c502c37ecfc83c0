#pragma once

#include "platform/linux/hotkey/fallback_key_source.h"

#include <QPointer>

#include <memory>

class Clock;
class CommandKeySource;

// The hotkey's key source for the routes the session's offer leads to, each route's backend built
// when it takes over. Part of the composition root.
class HotkeyBackends final {
public:
    HotkeyBackends(Clock& clock, const SessionOffer& offer);
    ~HotkeyBackends();
    HotkeyBackends(const HotkeyBackends&) = delete;
    HotkeyBackends& operator=(const HotkeyBackends&) = delete;

    // The source the monitor reads; its status names the route in use and those that failed.
    FallbackKeySource& source() { return m_source; }
    // Where `quenda --hotkey` commands go; null while the route in use hears the keys itself.
    CommandKeySource* commands() const { return m_commands; }

private:
    std::unique_ptr<KeySource> build(HotkeyRoute route);

    Clock& m_clock;
    QPointer<CommandKeySource> m_commands;
    FallbackKeySource m_source;
};
