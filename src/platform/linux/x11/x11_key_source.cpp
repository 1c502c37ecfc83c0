#include "platform/linux/x11/x11_key_source.h"

#include "core/base/desktop_session.h"
#include "core/base/timing.h"
#include "platform/linux/x11/own_window_key_filter.h"
#include "platform/linux/x11/xinput_key_tap.h"

X11KeySource::Environment X11KeySource::Environment::current()
{
    return {.displayName = qgetenv("DISPLAY"), .waylandSession = DesktopSession::isWayland()};
}

X11KeySource::X11KeySource(Environment environment)
    : m_environment(std::move(environment))
{
}

X11KeySource::~X11KeySource()
{
    stop();
}

KeySource::Reach X11KeySource::start(Listener& listener)
{
    stop();
    // Xwayland hands raw events only while one of its own windows has the focus: a tap there
    // would seem to work and then miss most keys.
    if (m_environment.waylandSession)
        Timing::mark(QStringLiteral("hotkey: Wayland session; X11 sees no keys of other programs"));
    else
        m_tap = XInputKeyTap::open(m_environment.displayName, listener);
    if (m_tap)
        return Reach::Global;
    m_filter = std::make_unique<OwnWindowKeyFilter>(listener);
    return Reach::OwnWindows;
}

void X11KeySource::stop()
{
    m_tap.reset();
    m_filter.reset();
}
