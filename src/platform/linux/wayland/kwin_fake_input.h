#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

#include <QString>

#include <memory>

class WaylandConnection;

// KWin's fake input device (org_kde_kwin_fake_input). KWin offers it only to a program whose
// installed desktop file lists it in X-KDE-Wayland-Interfaces, and tracks the modifiers of the
// keys itself. Keys are found by symbol in the user's keyboard map.
class KwinFakeInput final : public SyntheticKeyboard {
public:
    // The connection must outlive the keyboard. The name is shown where KWin asks the user.
    KwinFakeInput(WaylandConnection& connection, const QString& applicationName);
    ~KwinFakeInput() override;

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
