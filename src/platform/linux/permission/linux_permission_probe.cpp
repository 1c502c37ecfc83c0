#include "platform/linux/permission/linux_permission_probe.h"

#include "platform/linux/x11/x_connection.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <optional>

namespace {

// The probe reads on a worker thread, so it can wait longer than the AT-SPI calls made for a keystroke.
constexpr int busTimeoutMs = 1000;

bool hasXTest(const QByteArray& display)
{
    const XConnection connection(display);
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    return connection.display() && XTestQueryExtension(connection.display(), &event, &error, &major, &minor);
}

// Without XWayland there is no X server to ask, and a Wayland route posts its keys without one.
bool postsKeys(KeyRoute route, const QByteArray& display)
{
    if (route == KeyRoute::XTest)
        return hasXTest(display);
    return route != KeyRoute::Unavailable;
}

} // namespace

LinuxPermissionProbe::LinuxPermissionProbe(Clock& clock, WorkQueue& work, QObject* parent)
    : LinuxPermissionProbe(clock, work, Sources(), parent)
{
}

LinuxPermissionProbe::LinuxPermissionProbe(Clock& clock, WorkQueue& work, const Sources& sources,
                                           QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_work(work)
    , m_accessibilityService(sources.accessibilityService)
    , m_keys(postsKeys(sources.keys, sources.xDisplay))
    , m_sources(sources.pulseServer)
{
    refresh();
}

LinuxPermissionProbe::~LinuxPermissionProbe() = default;

bool LinuxPermissionProbe::microphoneAvailable() const
{
    return m_sources.microphones() > 0;
}

bool LinuxPermissionProbe::accessibilityTrusted() const
{
    if (m_clock.elapsedMs() - m_askedAtMs >= refreshMs)
        refresh();
    return m_keys && m_busEnabled;
}

bool LinuxPermissionProbe::answered() const
{
    return m_busAnswered && m_sources.microphones() >= 0;
}

void LinuxPermissionProbe::refresh() const
{
    // A bus that takes its full second to answer is not asked a second time meanwhile.
    if (m_asking)
        return;
    m_asking = true;
    m_askedAtMs = m_clock.elapsedMs();
    const QString service = m_accessibilityService;
    m_work.run<std::optional<bool>>([service] { return AccessibilityBus::isEnabled(busTimeoutMs, service); },
                                    &m_readings,
                                    [this](const std::optional<bool>& enabled) {
                                        m_asking = false;
                                        m_busAnswered = true;
                                        m_busEnabled = enabled.value_or(false);
                                    });
}
