#pragma once

#include <map>
#include <set>

struct _XDisplay;

// Types on the test X server as a physical keyboard would, through a connection of the test's own.
// Keys still down are released on destruction, so a failed test leaves no key held.
class XTestKeyboard final {
public:
    XTestKeyboard();
    ~XTestKeyboard();

    XTestKeyboard(const XTestKeyboard&) = delete;
    XTestKeyboard& operator=(const XTestKeyboard&) = delete;

    bool isOpen() const { return m_display != nullptr; }
    // Keys by keysym name ("Control_R", "a"); every call reaches the server before it returns.
    void press(const char* keysym);
    void release(const char* keysym);
    void tap(const char* keysym);
    // Presses and releases a mouse button (4 and 5: the wheel turned up and down).
    void click(unsigned button);
    // The keycode the server's keymap gives a keysym first, 0 for none.
    unsigned keycodeOf(const char* keysym) const;
    // Puts keysym on keycode for as long as this keyboard exists.
    void remap(unsigned keycode, const char* keysym);
    // Grabs the keyboard for a window of this connection, as an open menu does; false when refused.
    bool grabKeyboard();

private:
    void send(const char* keysym, bool down);

    _XDisplay* m_display;
    unsigned long m_window = 0;
    std::set<unsigned> m_down;
    std::map<unsigned, unsigned long> m_remapped; // keycode -> keysym it had
};
