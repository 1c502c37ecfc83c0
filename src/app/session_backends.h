#pragma once

#include "core/model/session_routes.h"

#include <memory>

class Clock;
class KeySynthesizer;
class MutterRemoteDesktop;
class Pasteboard;
class SyntheticKeyboard;
class WaylandConnection;

// The session's key synthesiser and clipboard, built for the routes its offer leads to; chosen once,
// at launch. Part of the composition root.
class SessionBackends final {
public:
    explicit SessionBackends(Clock& clock);
    ~SessionBackends();
    SessionBackends(const SessionBackends&) = delete;
    SessionBackends& operator=(const SessionBackends&) = delete;

    // What the session offers, which the hotkey's routes follow too.
    const SessionOffer& offer() const { return m_offer; }
    const SessionRoutes& routes() const { return m_routes; }
    KeySynthesizer& keys() { return *m_keys; }
    Pasteboard& pasteboard() { return *m_pasteboard; }
    // The primary selection; null where the session lets no program in the background write it.
    Pasteboard* primary() { return m_primary.get(); }

private:
    // What the backends below stand on, so they go first.
    std::unique_ptr<WaylandConnection> m_wayland;
    std::unique_ptr<MutterRemoteDesktop> m_desktop;
    SessionOffer m_offer;
    SessionRoutes m_routes;
    std::unique_ptr<SyntheticKeyboard> m_keyboard;
    std::unique_ptr<KeySynthesizer> m_keys;
    std::unique_ptr<Pasteboard> m_pasteboard;
    std::unique_ptr<Pasteboard> m_primary;
};
