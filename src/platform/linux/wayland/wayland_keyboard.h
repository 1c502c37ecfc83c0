#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

#include <QString>

#include <cstdint>
#include <map>

class WaylandConnection;

// A synthetic keyboard on a Wayland connection: the chord keys by their evdev codes in the user's
// map, the keys held always empty (Wayland shows no client the keys the user holds), and every key
// failing as unavailable once the connection is lost.
class WaylandKeyboard : public SyntheticKeyboard {
public:
    ~WaylandKeyboard() override = default;

    // Empty while keys can be posted; otherwise why not, in words for the user.
    QString unavailable() const;

    Result<State, Failure> state() override;

protected:
    // The connection must outlive the keyboard.
    explicit WaylandKeyboard(WaylandConnection& connection);

    WaylandConnection& connection() const { return m_connection; }
    // Set once the keyboard is made: why it cannot post (empty if it can), and where the keys are.
    void opened(const QString& unavailable, std::map<Key, uint32_t> keys);
    // Queues the key's requests; they are sent right after.
    virtual void post(Key key, uint32_t evdev, bool down) = 0;

private:
    Done send(Key key, bool down) override;

    WaylandConnection& m_connection;
    QString m_unavailable = QStringLiteral("not opened");
    std::map<Key, uint32_t> m_keys;
};
