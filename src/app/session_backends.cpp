#include "app/session_backends.h"

#include "core/base/desktop_session.h"
#include "core/base/timing.h"
#include "platform/linux/clipboard/qt_clipboard_pasteboard.h"
#include "platform/linux/gnome/mutter_keyboard.h"
#include "platform/linux/gnome/mutter_pasteboard.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/portal/portal_keyboard.h"
#include "platform/linux/session/session_probe.h"
#include "platform/linux/session/unavailable_keys.h"
#include "platform/linux/wayland/data_control_pasteboard.h"
#include "platform/linux/wayland/kwin_fake_input.h"
#include "platform/linux/wayland/virtual_keyboard.h"
#include "platform/linux/wayland/wayland_connection.h"
#include "platform/linux/x11/xtest_keyboard.h"

#include <QCoreApplication>

namespace {

QByteArrayList interfaces(const WaylandConnection* wayland)
{
    QByteArrayList names;
    if (wayland && wayland->connected()) {
        for (const WaylandConnection::Global& global : wayland->globals())
            names.append(global.interface);
    }
    return names;
}

} // namespace

SessionBackends::SessionBackends(Clock& clock)
    : m_wayland(DesktopSession::isWayland() ? std::make_unique<WaylandConnection>() : nullptr)
    , m_offer(SessionProbe::offer(interfaces(m_wayland.get())))
    , m_routes(SessionRoutes::choose(m_offer))
{
    Timing::mark(m_routes.describe());
    if (m_routes.keys == KeyRoute::MutterRemoteDesktop || m_routes.clipboard == ClipboardRoute::MutterSession)
        m_desktop = std::make_unique<MutterRemoteDesktop>();
    switch (m_routes.clipboard) {
    case ClipboardRoute::DataControl:
        m_pasteboard = std::make_unique<DataControlPasteboard>(*m_wayland);
        break;
    // GNOME's remote-desktop session reaches the clipboard only.
    case ClipboardRoute::MutterSession:
        m_pasteboard = std::make_unique<MutterPasteboard>(*m_desktop);
        break;
    case ClipboardRoute::X11:
        m_pasteboard = std::make_unique<QtClipboardPasteboard>();
        break;
    // Nothing else reaches the clipboard here; no chord is posted, so no paste relies on it.
    case ClipboardRoute::Unavailable:
        m_pasteboard = std::make_unique<QtClipboardPasteboard>();
        break;
    }
    switch (m_routes.primary) {
    case PrimaryRoute::DataControl: {
        auto primary = std::make_unique<DataControlPasteboard>(*m_wayland, DataControlPasteboard::Limits(),
                                                               DataControlPasteboard::Selection::Primary);
        if (primary->ready())
            m_primary = std::move(primary);
        break;
    }
    case PrimaryRoute::X11:
        m_primary = std::make_unique<QtClipboardPasteboard>(QClipboard::Selection);
        break;
    case PrimaryRoute::Unavailable:
        break;
    }
    Timing::mark(m_primary ? QStringLiteral("session: primary selection writable")
                           : QStringLiteral("session: no primary selection to write"));
    switch (m_routes.keys) {
    case KeyRoute::XTest:
        m_keyboard = std::make_unique<XTestKeyboard>();
        break;
    case KeyRoute::VirtualKeyboard:
        m_keyboard = std::make_unique<VirtualKeyboard>(*m_wayland);
        break;
    case KeyRoute::KwinFakeInput:
        m_keyboard = std::make_unique<KwinFakeInput>(*m_wayland, QCoreApplication::applicationName());
        break;
    case KeyRoute::MutterRemoteDesktop:
        m_keyboard = std::make_unique<MutterKeyboard>(*m_desktop);
        break;
    case KeyRoute::RemoteDesktopPortal:
        // Asks the desktop for its session now, so the dialog shows at launch, not at the first paste.
        m_keyboard = std::make_unique<PortalKeyboard>();
        break;
    case KeyRoute::Unavailable:
        break;
    }
    if (m_keyboard) {
        m_keys = std::make_unique<ChordSynthesizer>(*m_keyboard, clock);
        return;
    }
    m_keys = std::make_unique<UnavailableKeys>(
        m_routes.clipboard == ClipboardRoute::Unavailable
            ? QStringLiteral("no clipboard reachable in the background in this session")
            : QStringLiteral("no way to post keys into other programs in this session"));
}

SessionBackends::~SessionBackends() = default;
