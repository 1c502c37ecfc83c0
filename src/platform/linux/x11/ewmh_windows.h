#pragma once

#include "platform/window_system.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// The top-level windows of an X desktop as a window manager describes them (EWMH), read on an X
// connection of its own. Without a window manager (a bare X server) the focus window stands in
// for the active one and the viewable top-level windows for the client list. Main thread only.
class EwmhWindows final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EwmhWindows)

public:
    struct Client {
        quint64 window = 0;
        QString instance;  // WM_CLASS, first part
        QString className; // WM_CLASS, second part
        int pid = 0;       // _NET_WM_PID; 0 when unset
    };

    // An empty name means $DISPLAY.
    explicit EwmhWindows(const QByteArray& displayName = {}, QObject* parent = nullptr);
    ~EwmhWindows() override;

    bool connected() const;
    // _NET_ACTIVE_WINDOW when the root window carries it, else the window with the focus.
    std::optional<Client> activeWindow() const;
    // _NET_CLIENT_LIST, else the viewable top-level windows that carry a WM_CLASS.
    QList<Client> clients() const;
    // Absent when the window is gone.
    std::optional<Client> client(quint64 window) const;
    // Asks the window manager with a _NET_ACTIVE_WINDOW message, or without one raises the
    // window and sets the focus directly.
    WindowSystem::Activated activate(quint64 window);

signals:
    // The root window's _NET_ACTIVE_WINDOW changed.
    void activeWindowChanged();

private:
    struct Private;
    void readEvents();
    // Round trips may pull events into Xlib's queue, where the socket notifier never sees them.
    void readQueuedLater() const;

    std::unique_ptr<Private> d;
};
