#pragma once

#include "platform/linux/wayland/wayland_keyboard.h"

struct wl_proxy;

// KWin's fake input device (org_kde_kwin_fake_input). KWin offers it only to a program whose
// installed desktop file lists it in X-KDE-Wayland-Interfaces, and tracks the modifiers of the
// keys itself. Keys are found by symbol in the user's keyboard map.
class KwinFakeInput final : public WaylandKeyboard {
public:
    // The connection must outlive the keyboard. The name is shown where KWin asks the user.
    KwinFakeInput(WaylandConnection& connection, const QString& applicationName);
    ~KwinFakeInput() override;

private:
    QString open(const QString& applicationName);
    void post(Key key, uint32_t evdev, bool down) override;

    wl_proxy* m_fakeInput = nullptr;
};
