#include "platform/linux/wayland/user_keymap.h"

#include "platform/linux/wayland/wayland_connection.h"

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The compositor sends the map right after the keyboard is made; it only has to arrive.
constexpr int keymapWaitMs = 1000;

struct Announced {
    bool answered = false;
    QByteArray text;
};

QByteArray readKeymap(int fd, uint32_t size)
{
    QByteArray text;
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped != MAP_FAILED) {
        // The size counts the terminating NUL.
        text = QByteArray(static_cast<const char*>(mapped), qstrnlen(static_cast<const char*>(mapped), size));
        munmap(mapped, size);
    }
    return text;
}

std::optional<QByteArray> compositorKeymap(WaylandConnection& connection)
{
    wl_seat* seat = connection.seat();
    if (!seat || !connection.seatHasKeyboard())
        return std::nullopt;
    static const wl_keyboard_listener listener = {
        .keymap =
            [](void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
                auto* announced = static_cast<Announced*>(data);
                if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1)
                    announced->text = readKeymap(fd, size);
                close(fd);
                announced->answered = true;
            },
        .enter = [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
        .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
        .key = [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t) {},
        .modifiers = [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {},
        .repeat_info = [](void*, wl_keyboard*, int32_t, int32_t) {},
    };
    Announced announced;
    wl_keyboard* keyboard = wl_seat_get_keyboard(seat);
    wl_keyboard_add_listener(keyboard, &listener, &announced);
    connection.dispatchUntil([&] { return announced.answered; }, keymapWaitMs);
    if (wl_keyboard_get_version(keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
        wl_keyboard_release(keyboard);
    else
        wl_keyboard_destroy(keyboard);
    connection.flush();
    if (announced.text.isEmpty())
        return std::nullopt;
    return announced.text;
}

} // namespace

std::optional<XkbKeymap> userKeymap(WaylandConnection& connection)
{
    if (const auto text = compositorKeymap(connection)) {
        if (auto keymap = XkbKeymap::parse(*text))
            return keymap;
    }
    return XkbKeymap::compile({});
}
