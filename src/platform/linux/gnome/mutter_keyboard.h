#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

class MutterRemoteDesktop;

// Keys of the GNOME compositor's remote-desktop session, posted as keysyms: the compositor finds
// the key in the user's layout, so a layout cannot turn the v of the paste chord into another
// letter (a layout without a v, such as Russian alone, gets no key at all: the compositor drops it).
//
// The session reports no keys down: the compositor offers its clients no view of the keyboard,
// and neither XWayland nor AT-SPI sees keys meant for another program's window. The chord is
// therefore posted at once, whatever the user still holds.
class MutterKeyboard final : public SyntheticKeyboard {
public:
    explicit MutterKeyboard(MutterRemoteDesktop& desktop);

    Result<State, Failure> state() override;

private:
    Done send(Key key, bool down) override;
    void makeKeyboard();

    MutterRemoteDesktop& m_desktop;
    quint64 m_keyboardGeneration = 0;
};
