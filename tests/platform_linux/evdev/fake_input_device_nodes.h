#pragma once

#include "platform/linux/evdev/input_device_nodes.h"

#include <QMap>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// Event nodes a test plugs, unplugs and locks; a keyboard or pointer opens as a fresh pipe whose
// writing end the test types into.
class FakeInputDeviceNodes final : public InputDeviceNodes {
public:
    ~FakeInputDeviceNodes() override
    {
        for (const Node& node : std::as_const(m_nodes))
            closeWriter(node);
    }

    // Adds the node or changes its kind, and tells a watcher as udev would.
    void set(const QString& path, Kind kind)
    {
        m_nodes[path].kind = kind;
        notify();
    }
    void remove(const QString& path)
    {
        closeWriter(m_nodes.take(path));
        notify();
    }
    // The writing end of the keyboard or pointer last opened at path, or -1.
    int writer(const QString& path) const { return m_nodes.value(path).writer; }
    // Whether the reading end last handed out for path was closed again.
    bool readerClosed(const QString& path) const
    {
        pollfd poll{.fd = writer(path), .events = POLLOUT, .revents = 0};
        return ::poll(&poll, 1, 0) == 1 && (poll.revents & POLLERR) != 0;
    }
    bool watching() const { return static_cast<bool>(m_changed); }

    QStringList list() override { return m_nodes.keys(); }

    Opened open(const QString& path) override
    {
        const auto it = m_nodes.find(path);
        if (it == m_nodes.end())
            return Opened::as(Kind::Gone);
        if (it->kind != Kind::Keyboard && it->kind != Kind::Pointer)
            return Opened::as(it->kind);
        int fds[2];
        if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
            return Opened::as(Kind::Gone);
        closeWriter(*it);
        it->writer = fds[1];
        return Opened::as(it->kind, fds[0], path);
    }

    void watch(std::function<void()> changed) override { m_changed = std::move(changed); }

private:
    struct Node {
        Kind kind = Kind::Gone;
        int writer = -1;
    };

    static void closeWriter(const Node& node)
    {
        if (node.writer >= 0)
            ::close(node.writer);
    }

    void notify()
    {
        if (m_changed)
            m_changed();
    }

    QMap<QString, Node> m_nodes;
    std::function<void()> m_changed;
};
