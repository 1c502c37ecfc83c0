#include "test_x_client.h"

#include <QTest>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <array>
#include <ostream>

namespace {

QString modifiers(unsigned int state)
{
    QString out;
    if (state & ControlMask)
        out += QLatin1Char('C');
    if (state & ShiftMask)
        out += QLatin1Char('S');
    if (state & Mod1Mask)
        out += QLatin1Char('A');
    return out;
}

} // namespace

TestXClient::TestXClient()
    : m_display(XOpenDisplay(nullptr))
{
    if (m_display)
        XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
}

TestXClient::~TestXClient()
{
    if (m_display)
        XCloseDisplay(m_display);
}

quint64 TestXClient::createWindow(const QByteArray& instance, const QByteArray& className, int pid)
{
    const Window window =
        XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 100, 100, 0, 0, 0);
    XClassHint hint;
    QByteArray i = instance;
    QByteArray c = className;
    hint.res_name = i.data();
    hint.res_class = c.data();
    XSetClassHint(m_display, window, &hint);
    if (pid != 0) {
        const long value = pid;
        XChangeProperty(m_display, window, XInternAtom(m_display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
    }
    XSelectInput(m_display, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
    XMapRaised(m_display, window);
    XSync(m_display, False);
    // Focus can go only to a viewable window.
    waitFor([&] {
        XWindowAttributes attributes;
        return XGetWindowAttributes(m_display, window, &attributes) && attributes.map_state == IsViewable;
    });
    return window;
}

void TestXClient::destroyWindow(quint64 window)
{
    XDestroyWindow(m_display, window);
    XSync(m_display, False);
}

void TestXClient::focus(quint64 window)
{
    XSetInputFocus(m_display, window, RevertToPointerRoot, CurrentTime);
    XSync(m_display, False);
}

quint64 TestXClient::focusedWindow() const
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus;
}

void TestXClient::setRootWindows(const char* property, const QList<quint64>& windows)
{
    std::vector<long> values(windows.begin(), windows.end());
    XChangeProperty(m_display, DefaultRootWindow(m_display), XInternAtom(m_display, property, False),
                    XA_WINDOW, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(values.data()),
                    int(values.size()));
    XSync(m_display, False);
}

void TestXClient::removeRootProperty(const char* property)
{
    XDeleteProperty(m_display, DefaultRootWindow(m_display), XInternAtom(m_display, property, False));
    XSync(m_display, False);
}

void TestXClient::setWindowProperty(quint64 window, const char* property, quint64 value)
{
    const long v = long(value);
    XChangeProperty(m_display, window, XInternAtom(m_display, property, False), XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&v), 1);
    XSync(m_display, False);
}

void TestXClient::key(const char* keysym, bool down)
{
    XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, XStringToKeysym(keysym)), down ? True : False,
                      CurrentTime);
    XSync(m_display, False);
}

QStringList TestXClient::keysDown() const
{
    std::array<char, 32> keys{};
    XQueryKeymap(m_display, keys.data());
    QStringList names;
    for (int code = 8; code < 256; ++code) {
        if ((keys[code / 8] >> (code % 8)) & 1)
            names << QString::fromLatin1(XKeysymToString(XkbKeycodeToKeysym(m_display, KeyCode(code), 0, 0)));
    }
    return names;
}

QList<TestXClient::KeyEvent> TestXClient::keyEvents()
{
    readEvents();
    return std::exchange(m_keyEvents, {});
}

QList<TestXClient::RootMessage> TestXClient::rootMessages(const char* type)
{
    readEvents();
    QList<RootMessage> matching;
    for (const auto& [name, message] : std::exchange(m_rootMessages, {})) {
        if (name == QLatin1String(type))
            matching << message;
    }
    return matching;
}

bool TestXClient::waitFor(const std::function<bool()>& done, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            readEvents();
            return done();
        },
        timeoutMs);
}

void TestXClient::readEvents()
{
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == KeyPress || event.type == KeyRelease) {
            const KeySym sym = XkbKeycodeToKeysym(m_display, KeyCode(event.xkey.keycode), 0, 0);
            m_keyEvents << KeyEvent{event.type == KeyPress, QString::fromLatin1(XKeysymToString(sym)),
                                    modifiers(event.xkey.state)};
        } else if (event.type == ClientMessage) {
            char* name = XGetAtomName(m_display, event.xclient.message_type);
            const auto& l = event.xclient.data.l;
            m_rootMessages.append({QString::fromLatin1(name), {event.xclient.window, {l[0], l[1], l[2]}}});
            XFree(name);
        }
    }
}

void PrintTo(const TestXClient::KeyEvent& event, std::ostream* out)
{
    *out << (event.down ? '+' : '-') << event.key.toStdString();
    if (!event.modifiers.isEmpty())
        *out << ' ' << event.modifiers.toStdString();
}

void PrintTo(const TestXClient::RootMessage& message, std::ostream* out)
{
    *out << message.window;
    for (const long value : message.data)
        *out << ' ' << value;
}
