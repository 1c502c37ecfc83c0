#include "platform/linux/wayland/virtual_keyboard.h"

#include "platform/linux/wayland/input_protocols.h"
#include "platform/linux/wayland/user_keymap.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <QElapsedTimer>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon-names.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <map>

using Reason = KeySynthesizer::Failure::Reason;
namespace Requests = InputProtocols::VirtualKeyboard;

namespace {

// A sealed in-memory file holding the map; the compositor maps it.
int keymapFile(const QByteArray& text)
{
    const int fd = memfd_create("quenda-keymap", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    // The size sent counts the terminating NUL, which the compositor's parser expects.
    const qsizetype size = text.size() + 1;
    if (write(fd, text.constData(), size_t(size)) != size) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
    return fd;
}

} // namespace

struct VirtualKeyboard::Private {
    WaylandConnection& connection;
    wl_proxy* manager = nullptr;
    wl_proxy* keyboard = nullptr;
    QString unavailable;
    std::map<Key, uint32_t> keys; // evdev codes
    uint32_t controlMask = 0;
    uint32_t shiftMask = 0;
    uint32_t depressed = 0;
    QElapsedTimer clock;

    explicit Private(WaylandConnection& c)
        : connection(c)
    {
        clock.start();
    }

    QString open();
};

QString VirtualKeyboard::Private::open()
{
    if (!connection.connected())
        return connection.failure();
    if (!connection.offers(InputProtocols::virtualKeyboardManager.name))
        return QStringLiteral("the compositor offers no virtual keyboard");
    wl_seat* seat = connection.seat();
    if (!seat)
        return QStringLiteral("the compositor has no seat");
    const auto keymap = userKeymap(connection);
    if (!keymap)
        return QStringLiteral("no keyboard map could be compiled");
    keys = keymap->chordKeys();
    controlMask = keymap->modifierMask(XKB_MOD_NAME_CTRL);
    shiftMask = keymap->modifierMask(XKB_MOD_NAME_SHIFT);

    manager = connection.bind(&InputProtocols::virtualKeyboardManager, 1);
    if (!manager)
        return QStringLiteral("the compositor offers no virtual keyboard");
    keyboard = wl_proxy_marshal_flags(manager, InputProtocols::VirtualKeyboardManager::createVirtualKeyboard,
                                      &InputProtocols::virtualKeyboard, wl_proxy_get_version(manager), 0,
                                      seat, nullptr);
    const int fd = keymapFile(keymap->text());
    if (fd < 0)
        return QStringLiteral("the keyboard map could not be written for the compositor");
    // libwayland sends a duplicate of the descriptor.
    wl_proxy_marshal_flags(keyboard, Requests::keymap, nullptr, wl_proxy_get_version(keyboard), 0,
                           Requests::keymapFormatXkbV1, fd, uint32_t(keymap->text().size() + 1));
    close(fd);
    // A compositor that refuses the keyboard ends the connection: find out now, not at the paste.
    if (!connection.roundtrip(WaylandConnection::connectTimeoutMs))
        return connection.failure();
    return {};
}

VirtualKeyboard::VirtualKeyboard(WaylandConnection& connection)
    : d(std::make_unique<Private>(connection))
{
    d->unavailable = d->open();
}

VirtualKeyboard::~VirtualKeyboard()
{
    if (d->keyboard)
        wl_proxy_marshal_flags(d->keyboard, Requests::destroy, nullptr, wl_proxy_get_version(d->keyboard),
                               WL_MARSHAL_FLAG_DESTROY);
    if (d->manager)
        wl_proxy_destroy(d->manager);
    d->connection.flush();
}

QString VirtualKeyboard::unavailable() const
{
    if (d->unavailable.isEmpty() && !d->connection.connected())
        return d->connection.failure();
    return d->unavailable;
}

Result<SyntheticKeyboard::State, SyntheticKeyboard::Failure> VirtualKeyboard::state()
{
    if (const QString why = unavailable(); !why.isEmpty())
        return Failure{Reason::Unavailable, why};
    return State{};
}

SyntheticKeyboard::Done VirtualKeyboard::press(Key key)
{
    return send(key, true);
}

SyntheticKeyboard::Done VirtualKeyboard::release(Key key)
{
    return send(key, false);
}

SyntheticKeyboard::Done VirtualKeyboard::send(Key key, bool down)
{
    if (const QString why = unavailable(); !why.isEmpty())
        return Failure{Reason::Unavailable, why};
    const auto found = d->keys.find(key);
    if (found == d->keys.end())
        return Failure{Reason::KeyUnmapped, QStringLiteral("no key for ") + XkbKeymap::name(key)};
    const uint32_t mask = key == Key::Control ? d->controlMask : key == Key::Shift ? d->shiftMask : 0;
    wl_proxy_marshal_flags(d->keyboard, Requests::key, nullptr, wl_proxy_get_version(d->keyboard), 0,
                           uint32_t(d->clock.elapsed()), found->second,
                           uint32_t(down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED));
    // The compositor takes the modifiers from us, not from the keys: without this request
    // Control would never be seen as held.
    if (mask != 0) {
        d->depressed = down ? d->depressed | mask : d->depressed & ~mask;
        wl_proxy_marshal_flags(d->keyboard, Requests::modifiers, nullptr, wl_proxy_get_version(d->keyboard),
                               0, d->depressed, 0u, 0u, 0u);
    }
    if (!d->connection.flush()) {
        return Failure{Reason::PostFailed, (down ? QStringLiteral("press ") : QStringLiteral("release ")) +
                                               XkbKeymap::name(key) + QStringLiteral(": ") +
                                               d->connection.failure()};
    }
    return std::monostate{};
}
