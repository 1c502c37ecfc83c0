#pragma once

#include "platform/key_source.h"

#include <optional>

// Key events a test types by hand; they reach the listener only while started.
class FakeKeySource final : public KeySource {
public:
    explicit FakeKeySource(Reach reach = Reach::Global);

    Reach start(Listener& listener) override;
    void stop() override;
    void watch(PhysicalKey key) override { m_watched = key; }

    void press(PhysicalKey key);
    void release(PhysicalKey key);
    // Press and release at once.
    void tap(PhysicalKey key);
    // A mouse button or a turn of the wheel.
    void click();
    bool isStarted() const { return m_listener != nullptr; }
    int starts() const { return m_starts; }
    // The key the monitor last said it watches.
    std::optional<PhysicalKey> watched() const { return m_watched; }

private:
    Reach m_reach;
    Listener* m_listener = nullptr;
    int m_starts = 0;
    std::optional<PhysicalKey> m_watched;
};
