#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

// The machine's input device nodes as the evdev key source needs them: listed, opened one by one
// and watched for devices coming and going.
class InputDeviceNodes {
public:
    enum class Kind {
        Keyboard,    // open and readable; fd is the caller's
        Pointer,     // a mouse or touchpad, open and readable for its buttons and wheel; fd is the caller's
        NotKeyboard, // a power button, a switch, or no event node at all
        Denied,      // this user may not read it (not in the input group, no ACL)
        Gone,        // vanished before it could be opened
    };

    struct Opened {
        Kind kind = Kind::Gone;
        int fd = -1; // non-blocking; set for a keyboard or pointer only
        QString name;

        static Opened as(Kind kind, int fd = -1, QString name = {}) { return {kind, fd, std::move(name)}; }
    };

    virtual ~InputDeviceNodes() = default;

    // The paths of the event nodes there are now.
    virtual QStringList list() = 0;
    virtual Opened open(const QString& path) = 0;
    // Calls changed on this thread when nodes come, go or change access; an empty function
    // stops watching.
    virtual void watch(std::function<void()> changed) = 0;
};
