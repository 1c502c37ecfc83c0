#include "platform/linux/x11/xinput_key_tap.h"

#include "core/base/timing.h"

#include <QPointer>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <optional>
#include <vector>

namespace {

// Collects X errors between its construction and finish() instead of letting Xlib's default
// handler end the program. Main thread only: Xlib's error handler is process-wide.
class ErrorTrap final {
public:
    explicit ErrorTrap(Display* display)
        : m_display(display)
    {
        XSync(m_display, False);
        s_error = Success;
        m_previous = XSetErrorHandler(&ErrorTrap::record);
    }

    // The first error since construction, or Success; the sync makes every error arrive first.
    int finish()
    {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
        return s_error;
    }

private:
    static int record(Display*, XErrorEvent* event)
    {
        if (s_error == Success)
            s_error = event->error_code;
        return 0;
    }

    static inline int s_error = Success;
    Display* m_display;
    XErrorHandler m_previous = nullptr;
};

void giveUp(const QString& why)
{
    Timing::mark(QStringLiteral("hotkey: no raw key events from X11 (") + why + QLatin1Char(')'));
}

} // namespace

std::unique_ptr<XInputKeyTap> XInputKeyTap::open(const QByteArray& displayName, KeySource::Listener& listener)
{
    if (displayName.isEmpty()) {
        giveUp(QStringLiteral("no X display"));
        return nullptr;
    }
    Display* display = XOpenDisplay(displayName.constData());
    if (!display) {
        giveUp(QStringLiteral("cannot open display ") + QString::fromLocal8Bit(displayName));
        return nullptr;
    }
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    // 2.1 or later: a 2.0 client gets no raw events while another program grabs the keyboard,
    // as menus and games do.
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2) {
        XCloseDisplay(display);
        giveUp(QStringLiteral("the X server lacks XInput 2"));
        return nullptr;
    }
    if (minor < 1)
        Timing::mark(
            QStringLiteral("hotkey: XInput 2.0 only; keys typed during another program's grab are missed"));

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    // Clicks and the wheel (buttons 4 to 7) with the hotkey down make it a shortcut's modifier.
    XISetMask(bits, XI_RawButtonPress);
    // Master devices only: with every device selected, each key arrives twice (keyboard and master).
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    ErrorTrap trap(display);
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    if (const int error = trap.finish(); error != Success) {
        XCloseDisplay(display);
        giveUp(QStringLiteral("selecting raw key events failed with X error ") + QString::number(error));
        return nullptr;
    }
    return std::unique_ptr<XInputKeyTap>(new XInputKeyTap(display, opcode, listener));
}

XInputKeyTap::XInputKeyTap(Display* display, int opcode, KeySource::Listener& listener)
    : m_display(display)
    , m_opcode(opcode)
    , m_codes(X11KeyCodes::lookUp(display))
    , m_listener(listener)
    , m_notifier(std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read))
{
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readEvents(); });
    // Round trips so far may have left events in Xlib's queue, where the socket no longer shows them.
    QMetaObject::invokeMethod(
        m_notifier.get(), [this] { readEvents(); }, Qt::QueuedConnection);
}

XInputKeyTap::~XInputKeyTap()
{
    m_notifier.reset();
    XCloseDisplay(m_display);
}

void XInputKeyTap::readEvents()
{
    // A listener may stop the source, destroying this tap, so nothing of it is touched after a
    // report unless the notifier it owns is still there.
    const QPointer<QSocketNotifier> alive(m_notifier.get());
    // A key pressed or released, or no key: a button.
    struct Report {
        std::optional<PhysicalKey> key;
        bool down;
    };
    std::vector<Report> keys;
    while (alive) {
        keys.clear();
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != m_opcode ||
                !XGetEventData(m_display, cookie))
                continue;
            if (cookie->evtype == XI_RawKeyPress || cookie->evtype == XI_RawKeyRelease) {
                const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
                keys.push_back(
                    {m_codes.classify(static_cast<unsigned>(raw->detail)), cookie->evtype == XI_RawKeyPress});
            } else if (cookie->evtype == XI_RawButtonPress) {
                keys.push_back({std::nullopt, true});
            }
            XFreeEventData(m_display, cookie);
        }
        if (keys.empty())
            return;
        for (const auto& [key, down] : keys) {
            if (!alive)
                return;
            if (!key)
                m_listener.buttonPressed();
            else if (down)
                m_listener.keyPressed(*key);
            else
                m_listener.keyReleased(*key);
        }
    }
}
