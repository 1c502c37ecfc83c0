#include "xtest_keyboard.h"

// Before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

XTestKeyboard::XTestKeyboard()
    : m_display(XOpenDisplay(nullptr))
{
}

XTestKeyboard::~XTestKeyboard()
{
    if (!m_display)
        return;
    for (unsigned code : m_down)
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    for (auto [code, keysym] : m_remapped) {
        KeySym old = keysym;
        XChangeKeyboardMapping(m_display, static_cast<int>(code), 1, &old, 1);
    }
    if (m_window) {
        XUngrabKeyboard(m_display, CurrentTime);
        XDestroyWindow(m_display, m_window);
    }
    XSync(m_display, False);
    XCloseDisplay(m_display);
}

void XTestKeyboard::press(const char* keysym)
{
    send(keysym, true);
}

void XTestKeyboard::release(const char* keysym)
{
    send(keysym, false);
}

void XTestKeyboard::tap(const char* keysym)
{
    send(keysym, true);
    send(keysym, false);
}

unsigned XTestKeyboard::keycodeOf(const char* keysym) const
{
    return m_display ? XKeysymToKeycode(m_display, XStringToKeysym(keysym)) : 0;
}

void XTestKeyboard::remap(unsigned keycode, const char* keysym)
{
    ASSERT_TRUE(m_display);
    int perCode = 0;
    KeySym* old = XGetKeyboardMapping(m_display, static_cast<KeyCode>(keycode), 1, &perCode);
    ASSERT_TRUE(old);
    m_remapped.emplace(keycode, old[0]);
    XFree(old);
    KeySym now = XStringToKeysym(keysym);
    XChangeKeyboardMapping(m_display, static_cast<int>(keycode), 1, &now, 1);
    XSync(m_display, False);
}

void XTestKeyboard::send(const char* keysym, bool down)
{
    ASSERT_TRUE(m_display);
    const KeyCode code = XKeysymToKeycode(m_display, XStringToKeysym(keysym));
    ASSERT_NE(code, 0) << keysym << " is not on the test server's keymap";
    XTestFakeKeyEvent(m_display, code, down ? True : False, CurrentTime);
    XSync(m_display, False);
    if (down)
        m_down.insert(code);
    else
        m_down.erase(code);
}

bool XTestKeyboard::grabKeyboard()
{
    if (!m_display)
        return false;
    m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(m_display, m_window);
    XSync(m_display, False);
    const int status = XGrabKeyboard(m_display, m_window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    XSync(m_display, False);
    return status == GrabSuccess;
}

void XTestKeyboard::click(unsigned button)
{
    ASSERT_TRUE(m_display);
    XTestFakeButtonEvent(m_display, button, True, CurrentTime);
    XTestFakeButtonEvent(m_display, button, False, CurrentTime);
    XSync(m_display, False);
}
