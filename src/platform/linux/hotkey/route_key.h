#pragma once

#include "core/base/clock.h"
#include "platform/key_source.h"

// The watched key as a desktop route reports it: presses and releases of one key the route was told
// about, never any other. A route that may lose releases gets a limit: a hold with no release ends
// after it, and a press while the key is down stands for the lost release and a new press.
class RouteKey final {
public:
    // The longest hold of a route that may lose releases.
    static constexpr int lossyHoldLimitMs = 60'000;

    // `holdLimitMs` 0: every release arrives, and a press while down is the key repeating.
    RouteKey(Clock& clock, QObject* context, int holdLimitMs);

    void start(KeySource::Listener& listener);
    // Forgets the listener and a press under way without reporting its release.
    void stop();
    PhysicalKey key() const { return m_key; }
    // A press under way ends unreported: its release would name the old key.
    void watch(PhysicalKey key);

    void press();
    void release();
    // The route stopped working; told to a started listener only.
    void fail(const QString& why);
    // The route's service answered after a wait; told to a started listener only.
    void answered();

private:
    Clock& m_clock;
    QObject* m_context;
    int m_holdLimitMs;
    KeySource::Listener* m_listener = nullptr;
    PhysicalKey m_key = PhysicalKey::RightControl;
    bool m_down = false;
    Clock::Timer m_limit;
};
