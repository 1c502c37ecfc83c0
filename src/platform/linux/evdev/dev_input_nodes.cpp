#include "platform/linux/evdev/dev_input_nodes.h"

#include "core/base/timing.h"

#include <QDir>
#include <QSocketNotifier>

#include <libevdev/libevdev.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

DevInputNodes::DevInputNodes(QString directory)
    : m_directory(std::move(directory))
{
}

DevInputNodes::~DevInputNodes()
{
    watch({});
}

QStringList DevInputNodes::list()
{
    QStringList paths;
    const QDir dir(m_directory);
    for (const QString& name :
         dir.entryList({QStringLiteral("event*")}, QDir::System | QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

InputDeviceNodes::Opened DevInputNodes::open(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Opened::as(errno == EACCES || errno == EPERM ? Kind::Denied : Kind::Gone);
    libevdev* device = nullptr;
    if (libevdev_new_from_fd(fd, &device) < 0) {
        ::close(fd);
        return Opened::as(Kind::NotKeyboard);
    }
    const bool keyboard = isKeyboard(device);
    const bool pointer = !keyboard && isPointer(device);
    const QString name = QString::fromUtf8(libevdev_get_name(device));
    libevdev_free(device);
    if (keyboard || pointer)
        return Opened::as(keyboard ? Kind::Keyboard : Kind::Pointer, fd, name);
    ::close(fd);
    return Opened::as(Kind::NotKeyboard, -1, name);
}

bool DevInputNodes::isKeyboard(const libevdev* device)
{
    if (!libevdev_has_event_type(device, EV_KEY))
        return false;
    for (const unsigned code : {KEY_A, KEY_ESC, KEY_LEFTCTRL, KEY_RIGHTCTRL, KEY_RIGHTALT, KEY_RIGHTMETA}) {
        if (libevdev_has_event_code(device, EV_KEY, code))
            return true;
    }
    return false;
}

bool DevInputNodes::isPointer(const libevdev* device)
{
    return libevdev_has_event_code(device, EV_KEY, BTN_LEFT) ||
           libevdev_has_event_code(device, EV_REL, REL_WHEEL);
}

void DevInputNodes::watch(std::function<void()> changed)
{
    m_changed = std::move(changed);
    if (!m_changed) {
        m_notifier.reset();
        if (m_inotify >= 0)
            ::close(m_inotify);
        m_inotify = -1;
        return;
    }
    if (m_inotify >= 0)
        return;
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // Access changes too: udev applies the group and ACLs after creating the node.
    const uint32_t mask = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO;
    if (m_inotify < 0 || inotify_add_watch(m_inotify, QFile::encodeName(m_directory).constData(), mask) < 0) {
        Timing::mark(QStringLiteral("hotkey: cannot watch ") + m_directory +
                     QStringLiteral(" for keyboards plugged in later: ") +
                     QString::fromLocal8Bit(std::strerror(errno)));
        if (m_inotify >= 0)
            ::close(m_inotify);
        m_inotify = -1;
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_inotify, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readNotifications(); });
}

void DevInputNodes::readNotifications()
{
    alignas(inotify_event) std::array<char, 4096> buffer{};
    bool relevant = false;
    for (;;) {
        const ssize_t got = ::read(m_inotify, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            // mouse0, js0 and the by-id links change with every device; only event nodes matter.
            if (event->len > 0 && std::strncmp(event->name, "event", 5) == 0)
                relevant = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (relevant && m_changed)
        m_changed();
}
