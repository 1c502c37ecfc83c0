// Holds one key on KWin through its fake-input interface: press, wait, release.
//   kwin_fake_key EVDEV_CODE HOLD_MS
#include "fake-input-client.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// The protocol's generated C tables, with C names.
extern "C" {
#include "fake-input.c"
}

namespace {

org_kde_kwin_fake_input* fake = nullptr;

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fake = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}

void globalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {global, globalRemove};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const auto code = static_cast<uint32_t>(std::atoi(argv[1]));
    const long holdMs = std::atol(argv[2]);
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!fake) {
        std::fprintf(stderr, "the compositor offers no fake input to this program\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fake, "quenda tests", "hold a key");
    org_kde_kwin_fake_input_keyboard_key(fake, code, 1);
    wl_display_roundtrip(display);
    // The hold a user makes: the compositor must see the key down for a while.
    const timespec pause = {holdMs / 1000, (holdMs % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
    org_kde_kwin_fake_input_keyboard_key(fake, code, 0);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
