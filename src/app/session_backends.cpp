#include "app/session_backends.h"

#include "core/base/timing.h"
#include "platform/linux/clipboard/qt_clipboard_pasteboard.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/session/session_probe.h"
#include "platform/linux/session/unavailable_keys.h"
#include "platform/linux/x11/xtest_keyboard.h"

SessionBackends::SessionBackends(Clock& clock)
    : m_routes(SessionRoutes::choose(SessionProbe::offer(SessionProbe::waylandGlobals())))
{
    Timing::mark(m_routes.describe());
    switch (m_routes.clipboard) {
    case ClipboardRoute::X11:
    case ClipboardRoute::DataControl:
    case ClipboardRoute::MutterSession:
    // Nothing else reaches the clipboard here; no chord is posted, so no paste relies on it.
    case ClipboardRoute::Unavailable:
        m_pasteboard = std::make_unique<QtClipboardPasteboard>();
        break;
    }
    switch (m_routes.keys) {
    case KeyRoute::XTest:
        m_keyboard = std::make_unique<XTestKeyboard>();
        m_keys = std::make_unique<ChordSynthesizer>(*m_keyboard, clock);
        break;
    case KeyRoute::VirtualKeyboard:
    case KeyRoute::KwinFakeInput:
    case KeyRoute::MutterRemoteDesktop:
    case KeyRoute::RemoteDesktopPortal:
    case KeyRoute::Unavailable:
        m_keys = std::make_unique<UnavailableKeys>(
            m_routes.clipboard == ClipboardRoute::Unavailable
                ? QStringLiteral("no clipboard reachable in the background in this session")
                : QStringLiteral("no way to post keys into other programs in this session"));
        break;
    }
}

SessionBackends::~SessionBackends() = default;
