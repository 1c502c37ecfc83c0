#pragma once

#include "platform/key_source.h"

#include <QByteArray>

#include <memory>

class OwnWindowKeyFilter;
class XInputKeyTap;

// Keys from the whole X11 desktop through XInput 2 raw events; where those cannot be had (no X
// display, a Wayland session, no XInput 2), keys typed into this program's own windows.
class X11KeySource final : public KeySource {
public:
    // Where global key events may come from.
    struct Environment {
        QByteArray displayName; // empty when there is no X display
        bool waylandSession = false;

        // The session this program runs in.
        static Environment current();
    };

    explicit X11KeySource(Environment environment = Environment::current());
    ~X11KeySource() override;

    Reach start(Listener& listener) override;
    void stop() override;

private:
    Environment m_environment;
    std::unique_ptr<XInputKeyTap> m_tap;
    std::unique_ptr<OwnWindowKeyFilter> m_filter;
};
