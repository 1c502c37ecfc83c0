#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QSocketNotifier;
struct wl_display;
struct wl_interface;
struct wl_proxy;
struct wl_registry;
struct wl_seat;

// A Wayland connection of our own, beside whatever Qt's platform uses (the program itself may be
// an X11 client under XWayland). It lists the compositor's globals, binds them, and dispatches
// their events from the Qt event loop. Everything runs on the thread that made it.
class WaylandConnection final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WaylandConnection)

public:
    // How long the first listing and other round trips of our own may take.
    static constexpr int connectTimeoutMs = 2000;

    struct Global {
        QByteArray interface;
        uint32_t version = 0;
        uint32_t name = 0;
    };

    // An empty name means $WAYLAND_DISPLAY. Lists the globals before it returns. Proxies bound
    // through it must be destroyed before it is.
    explicit WaylandConnection(const QByteArray& displayName = {}, QObject* parent = nullptr);
    ~WaylandConnection() override;

    // Null when no compositor answered or the connection was lost; failure() says why.
    wl_display* display() const { return m_display; }
    bool connected() const { return m_display && m_failure.isEmpty(); }
    QString failure() const { return m_failure; }

    QList<Global> globals() const { return m_globals; }
    bool offers(const QByteArray& interface) const;
    // The first global of that interface at its version, at most maxVersion; null if none is
    // offered. The caller owns the proxy.
    wl_proxy* bind(const wl_interface* interface, uint32_t maxVersion);
    // The first seat, bound once and kept; null if there is none.
    wl_seat* seat();
    // Whether the seat has a keyboard now; a headless one has none until a virtual one exists.
    bool seatHasKeyboard() const;

    // Sends the requests made so far; false once the connection is lost.
    bool flush();
    // Reads and dispatches events until done() holds or timeoutMs passes; true if done() held.
    // Blocks: only for an answer the caller cannot go on without.
    bool dispatchUntil(const std::function<bool()>& done, int timeoutMs);
    // Waits until the compositor has handled every request sent so far.
    bool roundtrip(int timeoutMs);

signals:
    // Once, when the compositor went away or ended the connection over a protocol error.
    void lost(const QString& reason);

private:
    static void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                         uint32_t version);
    static void onGlobalRemove(void* data, wl_registry* registry, uint32_t name);

    void readAvailable();
    bool dispatchPending();
    QString displayError() const;
    void fail(const QString& reason);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    QSocketNotifier* m_readable = nullptr;
    QSocketNotifier* m_writable = nullptr;
    uint32_t m_seatCapabilities = 0;
    QList<Global> m_globals;
    QString m_failure;
};
