#pragma once

#include "core/base/clock.h"
#include "core/model/hotkey.h"
#include "platform/key_source.h"

#include <QObject>

#include <bitset>
#include <optional>

class OwnChords;

// Turns presses and releases of the hotkey, pressed on its own, into push-to-talk holds and
// double taps that switch hands-free dictation, and reports Escape. Lives on the main thread.
class HotkeyMonitor final : public QObject, private KeySource::Listener {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HotkeyMonitor)

public:
    HotkeyMonitor(KeySource& source, Clock& clock, QObject* parent = nullptr);
    ~HotkeyMonitor() override;

    Hotkey hotkey() const { return m_hotkey; }
    // Takes effect with the next key event; a hold under way ends when another key is watched.
    void setHotkey(Hotkey hotkey);

    // Starts listening (again, from a clean state); tells whether keys of other programs are seen.
    KeySource::Reach start();
    // Stops listening and forgets a press under way; a hold under way ends. The last tap is kept.
    void stop();
    // The chords this program posts, whose letters the key source reports like the user's typing.
    void setOwnChords(OwnChords* chords) { m_ownChords = chords; }

signals:
    // The hotkey went down.
    void pressed();
    // The hotkey has been down long enough to count as push-to-talk.
    void holdStarted();
    // The key of a push-to-talk hold was released.
    void holdEnded();
    // Two quick taps: hands-free dictation goes on or off.
    void toggled();
    // Escape went down, whether or not the hotkey is.
    void escapePressed();
    // An ordinary key, a mouse button or the wheel went down while a hold was under way: the hotkey
    // was the modifier of a shortcut (Ctrl+click, Ctrl+scroll), not push-to-talk. The hold still
    // ends with the release.
    void shortcutTyped();
    // The user typed an ordinary key (the letters of our own chords aside), hotkey or not.
    void typed();

private:
    void keyPressed(PhysicalKey key) override;
    void keyReleased(PhysicalKey key) override;
    void buttonPressed() override;

    void otherKeyPressed();
    void madeShortcut();
    PhysicalKey watchedKey() const;
    void noteFunctionFallback();
    void hotkeyDown();
    void hotkeyUp();

    KeySource& m_source;
    Clock& m_clock;
    OwnChords* m_ownChords = nullptr;
    Hotkey m_hotkey = Hotkey::RightControl;
    bool m_running = false;
    bool m_functionNoted = false;
    // The named keys that are down, so that auto-repeated presses can be told from new ones.
    std::bitset<5> m_down;
    bool m_armed = false;
    bool m_holdActive = false;
    std::optional<qint64> m_lastTapMs;
    quint64 m_armToken = 0;
};
