#pragma once

#include <QString>

#include <optional>

using Display = struct _XDisplay;

// Catches the X errors of one connection while it lives, in place of Xlib's default handler, which
// ends the program. Main thread only; traps may nest. Errors of other connections pass on to the
// handler that was installed before.
class XErrorTrap final {
public:
    struct Error {
        int code = 0; // BadWindow, BadMatch, ...
        QString text;
    };

    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // The first error of the requests sent since the trap was set. Makes a round trip first:
    // Xlib reports errors only once the server has answered.
    std::optional<Error> check();

private:
    Display* m_display;
    std::optional<Error> m_error;
};
