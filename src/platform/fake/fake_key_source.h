#pragma once

#include "platform/key_source.h"

// Key events a test types by hand; they reach the listener only while started.
class FakeKeySource final : public KeySource {
public:
    explicit FakeKeySource(Reach reach = Reach::Global);

    Reach start(Listener& listener) override;
    void stop() override;

    void press(PhysicalKey key);
    void release(PhysicalKey key);
    // Press and release at once.
    void tap(PhysicalKey key);
    bool isStarted() const { return m_listener != nullptr; }
    int starts() const { return m_starts; }

private:
    Reach m_reach;
    Listener* m_listener = nullptr;
    int m_starts = 0;
};
