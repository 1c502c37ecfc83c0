#include "platform/linux/x11/ewmh_windows.h"

#include "platform/linux/x11/x_connection.h"
#include "platform/linux/x11/x_error_trap.h"

#include <QScopeGuard>
#include <QSocketNotifier>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

using Reason = WindowSystem::Failure::Reason;

struct EwmhWindows::Private {
    EwmhWindows* owner = nullptr;
    XConnection connection;
    std::unique_ptr<QSocketNotifier> notifier;
    Atom activeWindow = None;
    Atom clientList = None;
    Atom pid = None;
    Atom supportingCheck = None;

    explicit Private(const QByteArray& name)
        : connection(name)
    {
    }

    Display* display() const { return connection.display(); }
    Window root() const { return DefaultRootWindow(display()); }

    // The 32-bit items of a property; absent when the window lacks it, is gone, or holds
    // another type.
    std::optional<std::vector<unsigned long>> items(Window window, Atom property, Atom type) const
    {
        XErrorTrap trap(display());
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const int status = XGetWindowProperty(display(), window, property, 0, 4096, False, type, &actualType,
                                              &format, &count, &after, &data);
        const bool failed = trap.check().has_value() || status != Success;
        std::optional<std::vector<unsigned long>> values;
        // Xlib hands format-32 data over as an array of longs, whatever the width of long.
        if (!failed && data && actualType == type && format == 32) {
            const auto* first = reinterpret_cast<const unsigned long*>(data);
            values.emplace(first, first + count);
        }
        if (data)
            XFree(data);
        return values;
    }

    std::optional<Client> client(Window window) const
    {
        XErrorTrap trap(display());
        XClassHint hint{};
        const Status found = XGetClassHint(display(), window, &hint);
        const bool gone = trap.check().has_value();
        Client client{window, {}, {}, 0};
        if (found) {
            client.instance = QString::fromLocal8Bit(hint.res_name);
            client.className = QString::fromLocal8Bit(hint.res_class);
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
        if (gone)
            return std::nullopt;
        if (const auto pid = items(window, this->pid, XA_CARDINAL); pid && !pid->empty())
            client.pid = int(pid->front());
        return client;
    }

    // The child of the root that holds the window.
    Window topLevel(Window window) const
    {
        XErrorTrap trap(display());
        for (;;) {
            Window rootReturn = None;
            Window parent = None;
            Window* children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display(), window, &rootReturn, &parent, &children, &count))
                return None;
            if (children)
                XFree(children);
            if (parent == rootReturn || parent == None)
                return window;
            window = parent;
        }
    }

    // A window manager names a window of its own on the root, which names itself back.
    bool managed() const
    {
        const auto check = items(root(), supportingCheck, XA_WINDOW);
        if (!check || check->empty())
            return false;
        const auto back = items(check->front(), supportingCheck, XA_WINDOW);
        return back && !back->empty() && back->front() == check->front();
    }
};

EwmhWindows::EwmhWindows(const QByteArray& displayName, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>(displayName))
{
    d->owner = this;
    Display* display = d->display();
    if (!display)
        return;
    d->activeWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    d->clientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    d->pid = XInternAtom(display, "_NET_WM_PID", False);
    d->supportingCheck = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    {
        XErrorTrap trap(display);
        XSelectInput(display, d->root(), PropertyChangeMask);
    }
    d->notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
    connect(d->notifier.get(), &QSocketNotifier::activated, this, &EwmhWindows::readEvents);
}

EwmhWindows::~EwmhWindows() = default;

bool EwmhWindows::connected() const
{
    return d->display() != nullptr;
}

std::optional<EwmhWindows::Client> EwmhWindows::activeWindow() const
{
    if (!connected())
        return std::nullopt;
    const auto later = qScopeGuard([this] { readQueuedLater(); });
    Window window = None;
    if (const auto active = d->items(d->root(), d->activeWindow, XA_WINDOW)) {
        // A window manager that says no window is active is believed.
        if (active->empty() || active->front() == None)
            return std::nullopt;
        window = active->front();
    } else {
        int revert = 0;
        XGetInputFocus(d->display(), &window, &revert);
        if (window == None || window == PointerRoot)
            return std::nullopt;
        window = d->topLevel(window);
        if (window == None)
            return std::nullopt;
    }
    return d->client(window);
}

QList<EwmhWindows::Client> EwmhWindows::clients() const
{
    QList<Client> clients;
    if (!connected())
        return clients;
    const auto later = qScopeGuard([this] { readQueuedLater(); });
    if (const auto listed = d->items(d->root(), d->clientList, XA_WINDOW)) {
        for (const unsigned long window : *listed) {
            if (auto client = d->client(window))
                clients.append(*client);
        }
        return clients;
    }
    XErrorTrap trap(d->display());
    Window rootReturn = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d->display(), d->root(), &rootReturn, &parent, &children, &count))
        return clients;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(d->display(), children[i], &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        if (auto client = d->client(children[i]); client && !client->className.isEmpty())
            clients.append(*client);
    }
    if (children)
        XFree(children);
    return clients;
}

std::optional<EwmhWindows::Client> EwmhWindows::client(quint64 window) const
{
    if (!connected())
        return std::nullopt;
    const auto later = qScopeGuard([this] { readQueuedLater(); });
    return d->client(window);
}

WindowSystem::Activated EwmhWindows::activate(quint64 window)
{
    using Failure = WindowSystem::Failure;
    if (!connected())
        return Failure{Reason::Unavailable, QStringLiteral("no X display")};
    const auto later = qScopeGuard([this] { readQueuedLater(); });
    Display* display = d->display();
    const bool managed = d->managed();
    XErrorTrap trap(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || trap.check())
        return Failure{Reason::WindowGone,
                       QStringLiteral("window ") + QString::number(window) + QStringLiteral(" is gone")};

    if (managed) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = d->activeWindow;
        event.xclient.format = 32;
        // Source 2 (a pager): the request stands for the user's own choice, which focus-stealing
        // prevention must not hold back.
        event.xclient.data.l[0] = 2;
        event.xclient.data.l[1] = CurrentTime;
        event.xclient.data.l[2] = None;
        XSendEvent(display, d->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        if (attributes.map_state != IsViewable)
            return Failure{Reason::Refused, QStringLiteral("the window is not shown")};
        XRaiseWindow(display, window);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
    if (const auto error = trap.check())
        return Failure{error->code == BadWindow ? Reason::WindowGone : Reason::Refused, error->text};
    return std::monostate{};
}

void EwmhWindows::readEvents()
{
    bool changed = false;
    while (XPending(d->display()) > 0) {
        XEvent event;
        XNextEvent(d->display(), &event);
        if (event.type == PropertyNotify && event.xproperty.window == d->root() &&
            event.xproperty.atom == d->activeWindow)
            changed = true;
    }
    if (changed)
        emit activeWindowChanged();
}

void EwmhWindows::readQueuedLater() const
{
    if (XEventsQueued(d->display(), QueuedAlready) > 0)
        QMetaObject::invokeMethod(
            d->notifier.get(), [owner = d->owner] { owner->readEvents(); }, Qt::QueuedConnection);
}
