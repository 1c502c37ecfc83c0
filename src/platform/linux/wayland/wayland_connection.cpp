#include "platform/linux/wayland/wayland_connection.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>

WaylandConnection::WaylandConnection(const QByteArray& displayName, QObject* parent)
    : QObject(parent)
{
    // libwayland falls back to "wayland-0" without the variable; an X11 session must not end up
    // talking to some other user's compositor that way.
    if (displayName.isEmpty() && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        m_failure = QStringLiteral("WAYLAND_DISPLAY is not set");
        return;
    }
    m_display = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!m_display) {
        m_failure = QStringLiteral("no Wayland compositor answers at ") +
                    QString::fromLocal8Bit(displayName.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : displayName);
        return;
    }
    static const wl_registry_listener listener = {&WaylandConnection::onGlobal,
                                                  &WaylandConnection::onGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);

    const int fd = wl_display_get_fd(m_display);
    m_readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &WaylandConnection::readAvailable);
    m_writable = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, [this] { flush(); });

    if (!roundtrip(connectTimeoutMs) && m_failure.isEmpty())
        fail(QStringLiteral("the Wayland compositor did not answer within ") +
             QString::number(connectTimeoutMs) + QStringLiteral(" ms"));
}

WaylandConnection::~WaylandConnection()
{
    delete m_readable;
    delete m_writable;
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_display)
        wl_display_disconnect(m_display);
}

void WaylandConnection::onGlobal(void* data, wl_registry*, uint32_t name, const char* interface,
                                 uint32_t version)
{
    static_cast<WaylandConnection*>(data)->m_globals.append({QByteArray(interface), version, name});
}

void WaylandConnection::onGlobalRemove(void* data, wl_registry*, uint32_t name)
{
    static_cast<WaylandConnection*>(data)->m_globals.removeIf(
        [name](const Global& g) { return g.name == name; });
}

bool WaylandConnection::offers(const QByteArray& interface) const
{
    return std::any_of(m_globals.cbegin(), m_globals.cend(),
                       [&](const Global& g) { return g.interface == interface; });
}

wl_proxy* WaylandConnection::bind(const wl_interface* interface, uint32_t maxVersion)
{
    if (!connected())
        return nullptr;
    for (const Global& global : std::as_const(m_globals)) {
        if (global.interface != interface->name)
            continue;
        const uint32_t version = std::min({global.version, maxVersion, uint32_t(interface->version)});
        auto* proxy = static_cast<wl_proxy*>(wl_registry_bind(m_registry, global.name, interface, version));
        flush();
        return proxy;
    }
    return nullptr;
}

wl_seat* WaylandConnection::seat()
{
    if (!m_seat) {
        static const wl_seat_listener listener = {
            .capabilities =
                [](void* data, wl_seat*, uint32_t caps) {
                    static_cast<WaylandConnection*>(data)->m_seatCapabilities = caps;
                },
            .name = [](void*, wl_seat*, const char*) {},
        };
        m_seat = reinterpret_cast<wl_seat*>(bind(&wl_seat_interface, 5));
        if (m_seat) {
            wl_seat_add_listener(m_seat, &listener, this);
            roundtrip(connectTimeoutMs);
        }
    }
    return m_seat;
}

bool WaylandConnection::seatHasKeyboard() const
{
    return m_seatCapabilities & WL_SEAT_CAPABILITY_KEYBOARD;
}

bool WaylandConnection::flush()
{
    if (!connected())
        return false;
    if (wl_display_flush(m_display) >= 0) {
        m_writable->setEnabled(false);
        return true;
    }
    if (errno == EAGAIN) {
        // The socket is full: the rest goes out once it drains.
        m_writable->setEnabled(true);
        return true;
    }
    fail(QStringLiteral("writing to the Wayland compositor failed: ") +
         QString::fromLocal8Bit(strerror(errno)));
    return false;
}

bool WaylandConnection::dispatchUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (connected()) {
        if (!dispatchPending())
            return false;
        if (done())
            return true;
        if (!flush())
            return false;
        if (wl_display_prepare_read(m_display) != 0)
            continue; // events came in meanwhile: dispatch them first
        pollfd fd{wl_display_get_fd(m_display), POLLIN, 0};
        const int ready = ::poll(&fd, 1, int(deadline.remainingTime()));
        if (ready <= 0) {
            wl_display_cancel_read(m_display);
            if (ready < 0 && errno == EINTR)
                continue;
            return ready == 0 && dispatchPending() && done();
        }
        if (wl_display_read_events(m_display) < 0) {
            fail(displayError());
            return false;
        }
    }
    return false;
}

bool WaylandConnection::roundtrip(int timeoutMs)
{
    if (!connected())
        return false;
    static const wl_callback_listener listener = {
        .done = [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; },
    };
    bool answered = false;
    wl_callback* callback = wl_display_sync(m_display);
    wl_callback_add_listener(callback, &listener, &answered);
    const bool ok = dispatchUntil([&] { return answered; }, timeoutMs);
    wl_callback_destroy(callback);
    return ok;
}

void WaylandConnection::readAvailable()
{
    if (!connected())
        return;
    while (wl_display_prepare_read(m_display) != 0) {
        if (!dispatchPending())
            return;
    }
    if (wl_display_read_events(m_display) < 0) {
        fail(displayError());
        return;
    }
    if (dispatchPending())
        flush();
}

bool WaylandConnection::dispatchPending()
{
    if (wl_display_dispatch_pending(m_display) >= 0)
        return true;
    fail(displayError());
    return false;
}

QString WaylandConnection::displayError() const
{
    const int error = wl_display_get_error(m_display);
    if (error == EPROTO) {
        const wl_interface* interface = nullptr;
        uint32_t id = 0;
        const uint32_t code = wl_display_get_protocol_error(m_display, &interface, &id);
        return QStringLiteral("the Wayland compositor ended the connection: error %1 on %2")
            .arg(code)
            .arg(QString::fromLatin1(interface ? interface->name : "an unknown object"));
    }
    if (error == 0 || error == EPIPE)
        return QStringLiteral("the Wayland compositor closed the connection");
    return QStringLiteral("the Wayland connection broke: ") + QString::fromLocal8Bit(strerror(error));
}

void WaylandConnection::fail(const QString& reason)
{
    if (!m_failure.isEmpty())
        return;
    m_failure = reason;
    if (m_readable)
        m_readable->setEnabled(false);
    if (m_writable)
        m_writable->setEnabled(false);
    emit lost(reason);
}
