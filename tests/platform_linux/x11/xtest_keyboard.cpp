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
