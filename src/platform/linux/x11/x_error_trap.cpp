#include "platform/linux/x11/x_error_trap.h"

#include <X11/Xlib.h>

#include <vector>

namespace {

struct Frame {
    Display* display;
    std::optional<XErrorTrap::Error>* error;
};

// Innermost trap last.
std::vector<Frame> s_frames;
XErrorHandler s_previous = nullptr;

int handle(Display* display, XErrorEvent* event)
{
    for (auto frame = s_frames.rbegin(); frame != s_frames.rend(); ++frame) {
        if (frame->display != display)
            continue;
        if (!*frame->error) {
            char text[256] = {};
            XGetErrorText(display, event->error_code, text, sizeof text);
            *frame->error = XErrorTrap::Error{event->error_code,
                                              QString::fromLocal8Bit(text) + QStringLiteral(" (request ") +
                                                  QString::number(event->request_code) + QLatin1Char(')')};
        }
        return 0;
    }
    return s_previous ? s_previous(display, event) : 0;
}

} // namespace

XErrorTrap::XErrorTrap(Display* display)
    : m_display(display)
{
    if (s_frames.empty())
        s_previous = XSetErrorHandler(handle);
    s_frames.push_back({m_display, &m_error});
    // Errors of requests sent before this scope are not this scope's.
    XSync(m_display, False);
    m_error.reset();
}

XErrorTrap::~XErrorTrap()
{
    XSync(m_display, False);
    s_frames.pop_back();
    if (s_frames.empty())
        XSetErrorHandler(s_previous);
}

std::optional<XErrorTrap::Error> XErrorTrap::check()
{
    XSync(m_display, False);
    return m_error;
}
