#include "platform/linux/wayland/kwin_fake_input.h"

#include "platform/linux/wayland/input_protocols.h"
#include "platform/linux/wayland/user_keymap.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <wayland-client.h>

using Reason = KeySynthesizer::Failure::Reason;
namespace Requests = InputProtocols::FakeInput;

struct KwinFakeInput::Private {
    WaylandConnection& connection;
    wl_proxy* fakeInput = nullptr;
    QString unavailable = {};
    std::map<Key, uint32_t> keys = {}; // evdev codes

    QString open(const QString& applicationName);
};

QString KwinFakeInput::Private::open(const QString& applicationName)
{
    if (!connection.connected())
        return connection.failure();
    // KWin lists the global only for programs it lets in.
    if (!connection.offers(InputProtocols::fakeInput.name))
        return QStringLiteral("the compositor offers no fake input to this program");
    const auto keymap = userKeymap(connection);
    if (!keymap)
        return QStringLiteral("no keyboard map could be compiled");
    keys = keymap->chordKeys();
    fakeInput = connection.bind(&InputProtocols::fakeInput, Requests::keyboardKeySince);
    if (!fakeInput)
        return QStringLiteral("the compositor offers no fake input to this program");
    if (wl_proxy_get_version(fakeInput) < Requests::keyboardKeySince)
        return QStringLiteral("the compositor's fake input posts no keys (version %1)")
            .arg(wl_proxy_get_version(fakeInput));
    wl_proxy_marshal_flags(fakeInput, Requests::authenticate, nullptr, wl_proxy_get_version(fakeInput), 0,
                           applicationName.toUtf8().constData(), "paste dictated text");
    if (!connection.roundtrip(WaylandConnection::connectTimeoutMs))
        return connection.failure();
    return {};
}

KwinFakeInput::KwinFakeInput(WaylandConnection& connection, const QString& applicationName)
    : d(std::make_unique<Private>(Private{connection}))
{
    d->unavailable = d->open(applicationName);
}

KwinFakeInput::~KwinFakeInput()
{
    // The interface has no destructor request.
    if (d->fakeInput)
        wl_proxy_destroy(d->fakeInput);
}

QString KwinFakeInput::unavailable() const
{
    if (d->unavailable.isEmpty() && !d->connection.connected())
        return d->connection.failure();
    return d->unavailable;
}

Result<SyntheticKeyboard::State, SyntheticKeyboard::Failure> KwinFakeInput::state()
{
    if (const QString why = unavailable(); !why.isEmpty())
        return Failure{Reason::Unavailable, why};
    return State{};
}

SyntheticKeyboard::Done KwinFakeInput::press(Key key)
{
    return send(key, true);
}

SyntheticKeyboard::Done KwinFakeInput::release(Key key)
{
    return send(key, false);
}

SyntheticKeyboard::Done KwinFakeInput::send(Key key, bool down)
{
    if (const QString why = unavailable(); !why.isEmpty())
        return Failure{Reason::Unavailable, why};
    const auto found = d->keys.find(key);
    if (found == d->keys.end())
        return Failure{Reason::KeyUnmapped, QStringLiteral("no key for ") + XkbKeymap::name(key)};
    wl_proxy_marshal_flags(d->fakeInput, Requests::keyboardKey, nullptr, wl_proxy_get_version(d->fakeInput),
                           0, found->second,
                           uint32_t(down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED));
    if (!d->connection.flush()) {
        return Failure{Reason::PostFailed, (down ? QStringLiteral("press ") : QStringLiteral("release ")) +
                                               XkbKeymap::name(key) + QStringLiteral(": ") +
                                               d->connection.failure()};
    }
    return std::monostate{};
}
