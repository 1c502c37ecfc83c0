#pragma once

#include <QString>

// A key as the hotkey monitor tells keys apart: the five it can watch by their place on the
// keyboard, every other modifier as one, and every other key as one.
enum class PhysicalKey { RightAlt, RightSuper, RightControl, LeftControl, Escape, Modifier, Other };

// Presses and releases of keys typed anywhere on the desktop. Nothing is grabbed, consumed or
// changed. Keys are reported one by one, never as modifier state, so left and right Control stay
// apart; a key held down may be reported as pressed again (auto-repeat).
class KeySource {
public:
    // Receives the reports on the thread that called start().
    class Listener {
    public:
        virtual ~Listener() = default;

        virtual void keyPressed(PhysicalKey key) = 0;
        virtual void keyReleased(PhysicalKey key) = 0;
        // A mouse button went down or the wheel turned (sources that can see the pointer only).
        virtual void buttonPressed() {}
        // The source stopped working for good and will report no more keys; `why` is for the log.
        virtual void sourceFailed(const QString& why) { (void)why; }
        // The desktop service a waiting source depends on answered: it reports keys from now on.
        virtual void sourceAnswered() {}
    };

    // How far the source sees: the whole desktop, or only the windows of this program.
    enum class Reach { Global, OwnWindows };

    virtual ~KeySource() = default;

    // Starts reporting to listener, replacing an earlier start.
    virtual Reach start(Listener& listener) = 0;
    // Stops reporting; does nothing when not started.
    virtual void stop() = 0;
    // The key the user holds. Sources that see every key ignore it; a desktop's shortcut service
    // must be told which key to report, and such a source reports presses of no other key.
    virtual void watch(PhysicalKey key) { (void)key; }
    // Started, but still waiting for a desktop service that may never answer; until it does (then
    // Listener::sourceAnswered) or fails, no key comes.
    virtual bool waiting() const { return false; }
};
