#include "platform/linux/x11/x11_floating_windows.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

constexpr quint32 allDesktops = 0xFFFFFFFF;
constexpr quint32 stateAdd = 1;
constexpr quint32 sourceApplication = 1;

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const QByteArray& name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, quint16(name.size()), name.constData()), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window's root and that root's X screen number; absent when the window is gone.
struct RootOf {
    xcb_window_t root;
    int screen;
};

std::optional<RootOf> rootOf(xcb_connection_t* c, xcb_window_t window)
{
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    if (!geometry)
        return std::nullopt;
    int number = 0;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem > 0; xcb_screen_next(&it), ++number) {
        if (it.data->root == geometry->root)
            return RootOf{geometry->root, number};
    }
    return RootOf{geometry->root, 0};
}

void sendToRoot(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                std::initializer_list<quint32> data)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

bool hasAtom(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t wanted)
{
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_ATOM, 0, 1024), nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

} // namespace

bool X11FloatingWindows::keepOnAllWorkspaces(quintptr window)
{
    xcb_connection_t* c = connection();
    if (!c || window == 0)
        return false;
    const auto w = xcb_window_t(window);
    const auto root = rootOf(c, w);
    const xcb_atom_t desktop = atom(c, QByteArrayLiteral("_NET_WM_DESKTOP"));
    const xcb_atom_t state = atom(c, QByteArrayLiteral("_NET_WM_STATE"));
    const xcb_atom_t sticky = atom(c, QByteArrayLiteral("_NET_WM_STATE_STICKY"));
    if (!root || desktop == XCB_ATOM_NONE || state == XCB_ATOM_NONE || sticky == XCB_ATOM_NONE)
        return false;

    // Read by the window manager when the window is mapped. Qt merges its own states into what it
    // finds in _NET_WM_STATE, so the sticky state survives Qt's show.
    const xcb_void_cookie_t set = xcb_change_property_checked(c, XCB_PROP_MODE_REPLACE, w, desktop,
                                                              XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    if (const Reply<xcb_generic_error_t> error(xcb_request_check(c, set)); error)
        return false;
    if (!hasAtom(c, w, state, sticky))
        xcb_change_property(c, XCB_PROP_MODE_APPEND, w, state, XCB_ATOM_ATOM, 32, 1, &sticky);

    // A mapped window belongs to the window manager, which hears requests, not property changes.
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    if (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED) {
        sendToRoot(c, root->root, w, desktop, {allDesktops, sourceApplication});
        sendToRoot(c, root->root, w, state, {stateAdd, sticky, 0, sourceApplication});
    }
    xcb_flush(c);
    return true;
}

bool X11FloatingWindows::compositing(quintptr window) const
{
    xcb_connection_t* c = connection();
    if (!c)
        return true;
    // A compositing manager owns the selection _NET_WM_CM_S<screen> for as long as it runs.
    const auto root = window != 0 ? rootOf(c, xcb_window_t(window)) : std::nullopt;
    const int screen = root ? root->screen : 0;
    const xcb_atom_t selection = atom(c, "_NET_WM_CM_S" + QByteArray::number(screen));
    if (selection == XCB_ATOM_NONE)
        return false;
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_NONE;
}
