#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

#include <QString>

#include <memory>

class WaylandConnection;

// A keyboard of our own on the compositor's seat (zwp_virtual_keyboard_v1), made once and kept:
// a seat without a keyboard loses keys and focuses nothing, and each new keyboard makes clients
// reload the map. It carries the user's full keyboard map (toolkits ignore shortcuts of a bare
// map) and finds its keys there by symbol, so the layout cannot change the letter.
class VirtualKeyboard final : public SyntheticKeyboard {
public:
    // The connection must outlive the keyboard.
    explicit VirtualKeyboard(WaylandConnection& connection);
    ~VirtualKeyboard() override;

    // Empty while keys can be posted; otherwise why not, in words for the user.
    QString unavailable() const;

    // Wayland shows no client the keys the user holds: always empty.
    Result<State, Failure> state() override;
    Done press(Key key) override;
    Done release(Key key) override;

private:
    struct Private;
    Done send(Key key, bool down);

    std::unique_ptr<Private> d;
};
