#include "platform/linux/wayland/kwin_fake_input.h"

#include "platform/linux/wayland/input_protocols.h"
#include "platform/linux/wayland/user_keymap.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <wayland-client.h>

namespace Requests = InputProtocols::FakeInput;

KwinFakeInput::KwinFakeInput(WaylandConnection& connection, const QString& applicationName)
    : WaylandKeyboard(connection)
{
    const QString unavailable = open(applicationName);
    if (!unavailable.isEmpty())
        opened(unavailable, {});
}

QString KwinFakeInput::open(const QString& applicationName)
{
    WaylandConnection& connection = this->connection();
    if (!connection.connected())
        return connection.failure();
    // KWin lists the global only for programs it lets in.
    if (!connection.offers(InputProtocols::fakeInput.name))
        return QStringLiteral("the compositor offers no fake input to this program");
    const auto keymap = userKeymap(connection);
    if (!keymap)
        return QStringLiteral("no keyboard map could be compiled");
    m_fakeInput = connection.bind(&InputProtocols::fakeInput, Requests::keyboardKeySince);
    if (!m_fakeInput)
        return QStringLiteral("the compositor offers no fake input to this program");
    if (wl_proxy_get_version(m_fakeInput) < Requests::keyboardKeySince)
        return QStringLiteral("the compositor's fake input posts no keys (version %1)")
            .arg(wl_proxy_get_version(m_fakeInput));
    wl_proxy_marshal_flags(m_fakeInput, Requests::authenticate, nullptr, wl_proxy_get_version(m_fakeInput), 0,
                           applicationName.toUtf8().constData(), "paste dictated text");
    if (!connection.roundtrip(WaylandConnection::connectTimeoutMs))
        return connection.failure();
    opened({}, keymap->chordKeys());
    return {};
}

KwinFakeInput::~KwinFakeInput()
{
    // The interface has no destructor request.
    if (m_fakeInput)
        wl_proxy_destroy(m_fakeInput);
}

void KwinFakeInput::post(Key, uint32_t evdev, bool down)
{
    wl_proxy_marshal_flags(m_fakeInput, Requests::keyboardKey, nullptr, wl_proxy_get_version(m_fakeInput), 0,
                           evdev,
                           uint32_t(down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED));
}
