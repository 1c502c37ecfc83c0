#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

#include <QByteArray>

#include <memory>

// The X server's keyboard: reads the keys down with XQueryKeymap and posts keys through XTest,
// on a connection of its own. Keys are found in the current keyboard map by their keysyms.
class XTestKeyboard final : public SyntheticKeyboard {
public:
    // An empty name means $DISPLAY.
    explicit XTestKeyboard(const QByteArray& displayName = {});
    ~XTestKeyboard() override;

    Result<State, Failure> state() override;

private:
    struct Private;
    Done send(Key key, bool down) override;

    std::unique_ptr<Private> d;
};
