#pragma once

#include "platform/linux/wayland/wayland_keyboard.h"

#include <QElapsedTimer>

struct wl_proxy;

// A keyboard of our own on the compositor's seat (zwp_virtual_keyboard_v1), made once and kept:
// a seat without a keyboard loses keys and focuses nothing, and each new keyboard makes clients
// reload the map. It carries the user's full keyboard map (toolkits ignore shortcuts of a bare
// map) and finds its keys there by symbol, so the layout cannot change the letter.
class VirtualKeyboard final : public WaylandKeyboard {
public:
    // The connection must outlive the keyboard.
    explicit VirtualKeyboard(WaylandConnection& connection);
    ~VirtualKeyboard() override;

private:
    QString open();
    void post(Key key, uint32_t evdev, bool down) override;

    wl_proxy* m_manager = nullptr;
    wl_proxy* m_keyboard = nullptr;
    uint32_t m_controlMask = 0;
    uint32_t m_shiftMask = 0;
    uint32_t m_depressed = 0;
    QElapsedTimer m_clock;
};
