#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

using Display = struct _XDisplay;

// A second X client the tests drive the server with, the way a user's applications and a window
// manager would: it makes windows, holds keys, sets root properties and reads its events.
class TestXClient final {
public:
    TestXClient();
    ~TestXClient();
    TestXClient(const TestXClient&) = delete;
    TestXClient& operator=(const TestXClient&) = delete;

    Display* display() const { return m_display; }

    // A mapped top-level window with WM_CLASS and, when pid is not 0, _NET_WM_PID. It reports
    // its key and focus events.
    quint64 createWindow(const QByteArray& instance, const QByteArray& className, int pid);
    void destroyWindow(quint64 window);
    void focus(quint64 window);
    quint64 focusedWindow() const;

    // Root window properties, as a window manager sets them.
    void setRootWindows(const char* property, const QList<quint64>& windows);
    void removeRootProperty(const char* property);
    void setWindowProperty(quint64 window, const char* property, quint64 value);

    // Presses or releases a key through XTest, as if on the keyboard.
    void key(const char* keysym, bool down);
    // Keys down on the server now, by keysym name.
    QStringList keysDown() const;

    // Key events read so far: "+v C" is v pressed while Control was down, "-Shift_L CS" released.
    QStringList keyEvents();
    // Client messages sent to the root for the given type, as "window l0 l1 l2".
    QStringList rootMessages(const char* type);
    // Runs the Qt event loop until `done` holds or the time is up, reading this client's events.
    bool waitFor(const std::function<bool()>& done, int timeoutMs = 3000);

private:
    void readEvents();

    Display* m_display;
    QStringList m_keyEvents;
    QStringList m_rootMessages;
};
