#pragma once

#include "platform/key_source.h"
#include "platform/linux/x11/x11_key_codes.h"

#include <QByteArray>

#include <memory>

struct _XDisplay;
class QSocketNotifier;

// Raw key events of every keyboard, and the presses of every mouse button and wheel, selected on
// the root window through an X connection of its own: nothing is grabbed, so every program still
// gets its keys and clicks.
class XInputKeyTap final {
public:
    // Connects to the display (empty name: none) and reports to listener on this thread; nothing,
    // with the reason in the timing log, when the server cannot deliver raw key events.
    static std::unique_ptr<XInputKeyTap> open(const QByteArray& displayName, KeySource::Listener& listener);
    ~XInputKeyTap();

    XInputKeyTap(const XInputKeyTap&) = delete;
    XInputKeyTap& operator=(const XInputKeyTap&) = delete;

private:
    XInputKeyTap(_XDisplay* display, int opcode, KeySource::Listener& listener);
    void readEvents();

    _XDisplay* m_display;
    int m_opcode;
    X11KeyCodes m_codes;
    KeySource::Listener& m_listener;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
