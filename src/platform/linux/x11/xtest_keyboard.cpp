#include "platform/linux/x11/xtest_keyboard.h"

#include "platform/linux/keys/chord_keysyms.h"
#include "platform/linux/x11/x_connection.h"
#include "platform/linux/x11/x_error_trap.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <array>

using Reason = KeySynthesizer::Failure::Reason;

struct XTestKeyboard::Private {
    XConnection connection;
    QString unavailable; // why nothing can be posted; empty when all is well

    explicit Private(const QByteArray& name)
        : connection(name)
    {
    }

    Display* display() const { return connection.display(); }

    // The server sends keyboard-map changes to every client; reading them keeps Xlib's copy of
    // the map current, so a key is looked up in the layout the user has now.
    void readEvents() const
    {
        while (XPending(display()) > 0) {
            XEvent event;
            XNextEvent(display(), &event);
            if (event.type == MappingNotify)
                XRefreshKeyboardMapping(&event.xmapping);
        }
    }
};

namespace {

bool isDown(const std::array<char, 32>& keys, KeyCode code)
{
    return (keys[code / 8] >> (code % 8)) & 1;
}

QString keyName(Display* display, KeyCode code)
{
    const char* name = XKeysymToString(XkbKeycodeToKeysym(display, code, 0, 0));
    return name ? QString::fromLatin1(name) : QStringLiteral("keycode ") + QString::number(code);
}

} // namespace

XTestKeyboard::XTestKeyboard(const QByteArray& displayName)
    : d(std::make_unique<Private>(displayName))
{
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!d->display())
        d->unavailable = QStringLiteral("no X display");
    else if (!XTestQueryExtension(d->display(), &event, &error, &major, &minor))
        d->unavailable = QStringLiteral("the X server has no XTest extension");
}

XTestKeyboard::~XTestKeyboard() = default;

Result<SyntheticKeyboard::State, SyntheticKeyboard::Failure> XTestKeyboard::state()
{
    if (!d->unavailable.isEmpty())
        return Failure{Reason::Unavailable, d->unavailable};
    Display* display = d->display();
    d->readEvents();

    XErrorTrap trap(display);
    std::array<char, 32> keys{};
    XQueryKeymap(display, keys.data());
    XModifierKeymap* map = XGetModifierMapping(display);
    if (const auto error = trap.check(); error || !map) {
        if (map)
            XFreeModifiermap(map);
        return Failure{Reason::Unavailable,
                       QStringLiteral("keyboard state unreadable: ") + (error ? error->text : QString())};
    }

    State state;
    for (int modifier = 0; modifier < 8; ++modifier) {
        // Caps Lock held down changes no chord.
        if (modifier == LockMapIndex)
            continue;
        QStringList& names = modifier == ShiftMapIndex     ? state.shift
                             : modifier == ControlMapIndex ? state.control
                                                           : state.other;
        for (int i = 0; i < map->max_keypermod; ++i) {
            const KeyCode code = map->modifiermap[modifier * map->max_keypermod + i];
            if (code != 0 && isDown(keys, code) && !names.contains(keyName(display, code)))
                names << keyName(display, code);
        }
    }
    XFreeModifiermap(map);
    for (const Key key : SyntheticKeyboard::keys) {
        const KeyCode code = XKeysymToKeycode(display, chordKeysym(key));
        if (code != 0 && isDown(keys, code))
            state.down << key;
    }
    return state;
}

SyntheticKeyboard::Done XTestKeyboard::send(Key key, bool down)
{
    if (!d->unavailable.isEmpty())
        return Failure{Reason::Unavailable, d->unavailable};
    Display* display = d->display();
    d->readEvents();
    const KeyCode code = XKeysymToKeycode(display, chordKeysym(key));
    const QString name = QString::fromLatin1(XKeysymToString(chordKeysym(key)));
    if (code == 0)
        return Failure{Reason::KeyUnmapped, QStringLiteral("no key for ") + name};
    XErrorTrap trap(display);
    const bool sent = XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    if (const auto error = trap.check(); error || !sent) {
        return Failure{Reason::PostFailed, (down ? QStringLiteral("press ") : QStringLiteral("release ")) +
                                               name + QStringLiteral(": ") +
                                               (error ? error->text : QStringLiteral("not sent"))};
    }
    return std::monostate{};
}
