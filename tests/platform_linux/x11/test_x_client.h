#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <iosfwd>
#include <utility>

using Display = struct _XDisplay;

// A second X client the tests drive the server with, the way a user's applications and a window
// manager would: it makes windows, holds keys, sets root properties and reads its events.
class TestXClient final {
public:
    // A key event a window read: the key's keysym name and the modifiers down then, "C" for
    // Control, "S" for Shift, "A" for Alt.
    struct KeyEvent {
        bool down;
        QString key;
        QString modifiers;
        bool operator==(const KeyEvent&) const = default;
        friend void PrintTo(const KeyEvent& event, std::ostream* out);
    };
    static KeyEvent press(const char* key, const char* modifiers = "")
    {
        return {true, QString::fromLatin1(key), QString::fromLatin1(modifiers)};
    }
    static KeyEvent release(const char* key, const char* modifiers = "")
    {
        return {false, QString::fromLatin1(key), QString::fromLatin1(modifiers)};
    }

    // A client message sent to the root: the window it names and its first three data values.
    struct RootMessage {
        quint64 window;
        QList<long> data;
        bool operator==(const RootMessage&) const = default;
        friend void PrintTo(const RootMessage& message, std::ostream* out);
    };

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

    // Key events read since the last call.
    QList<KeyEvent> keyEvents();
    // Client messages of the given type sent to the root since the last call.
    QList<RootMessage> rootMessages(const char* type);
    // Runs the Qt event loop until `done` holds or the time is up, reading this client's events.
    bool waitFor(const std::function<bool()>& done, int timeoutMs = 3000);

private:
    void readEvents();

    Display* m_display;
    QList<KeyEvent> m_keyEvents;
    QList<std::pair<QString, RootMessage>> m_rootMessages; // with the message's type
};
