#include "platform/linux/wayland/virtual_keyboard.h"

#include "platform/linux/wayland/input_protocols.h"
#include "platform/linux/wayland/user_keymap.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon-names.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

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

VirtualKeyboard::VirtualKeyboard(WaylandConnection& connection)
    : WaylandKeyboard(connection)
{
    m_clock.start();
    const QString unavailable = open();
    if (!unavailable.isEmpty())
        opened(unavailable, {});
}

QString VirtualKeyboard::open()
{
    WaylandConnection& connection = this->connection();
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
    m_controlMask = keymap->modifierMask(XKB_MOD_NAME_CTRL);
    m_shiftMask = keymap->modifierMask(XKB_MOD_NAME_SHIFT);

    m_manager = connection.bind(&InputProtocols::virtualKeyboardManager, 1);
    if (!m_manager)
        return QStringLiteral("the compositor offers no virtual keyboard");
    m_keyboard = wl_proxy_marshal_flags(
        m_manager, InputProtocols::VirtualKeyboardManager::createVirtualKeyboard,
        &InputProtocols::virtualKeyboard, wl_proxy_get_version(m_manager), 0, seat, nullptr);
    const QByteArray text = keymap->text();
    const int fd = keymapFile(text);
    if (fd < 0)
        return QStringLiteral("the keyboard map could not be written for the compositor");
    // libwayland sends a duplicate of the descriptor.
    wl_proxy_marshal_flags(m_keyboard, Requests::keymap, nullptr, wl_proxy_get_version(m_keyboard), 0,
                           Requests::keymapFormatXkbV1, fd, uint32_t(text.size() + 1));
    close(fd);
    // A compositor that refuses the keyboard ends the connection: find out now, not at the paste.
    if (!connection.roundtrip(WaylandConnection::connectTimeoutMs))
        return connection.failure();
    opened({}, keymap->chordKeys());
    return {};
}

VirtualKeyboard::~VirtualKeyboard()
{
    if (m_keyboard)
        wl_proxy_marshal_flags(m_keyboard, Requests::destroy, nullptr, wl_proxy_get_version(m_keyboard),
                               WL_MARSHAL_FLAG_DESTROY);
    if (m_manager)
        wl_proxy_destroy(m_manager);
    connection().flush();
}

void VirtualKeyboard::post(Key key, uint32_t evdev, bool down)
{
    wl_proxy_marshal_flags(m_keyboard, Requests::key, nullptr, wl_proxy_get_version(m_keyboard), 0,
                           uint32_t(m_clock.elapsed()), evdev,
                           uint32_t(down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED));
    // The compositor takes the modifiers from us, not from the keys: without this request
    // Control would never be seen as held.
    const uint32_t mask = key == Key::Control ? m_controlMask : key == Key::Shift ? m_shiftMask : 0;
    if (mask != 0) {
        m_depressed = down ? m_depressed | mask : m_depressed & ~mask;
        wl_proxy_marshal_flags(m_keyboard, Requests::modifiers, nullptr, wl_proxy_get_version(m_keyboard), 0,
                               m_depressed, 0u, 0u, 0u);
    }
}
