#include "platform/linux/wayland/wayland_keyboard.h"

#include "platform/linux/wayland/wayland_connection.h"
#include "platform/linux/wayland/xkb_keymap.h"

using Reason = KeySynthesizer::Failure::Reason;

WaylandKeyboard::WaylandKeyboard(WaylandConnection& connection)
    : m_connection(connection)
{
}

void WaylandKeyboard::opened(const QString& unavailable, std::map<Key, uint32_t> keys)
{
    m_unavailable = unavailable;
    m_keys = std::move(keys);
}

QString WaylandKeyboard::unavailable() const
{
    if (m_unavailable.isEmpty() && !m_connection.connected())
        return m_connection.failure();
    return m_unavailable;
}

Result<SyntheticKeyboard::State, SyntheticKeyboard::Failure> WaylandKeyboard::state()
{
    if (const QString why = unavailable(); !why.isEmpty())
        return Failure{Reason::Unavailable, why};
    return State{};
}

SyntheticKeyboard::Done WaylandKeyboard::send(Key key, bool down)
{
    if (const QString why = unavailable(); !why.isEmpty())
        return Failure{Reason::Unavailable, why};
    const auto found = m_keys.find(key);
    if (found == m_keys.end())
        return Failure{Reason::KeyUnmapped, QStringLiteral("no key for ") + XkbKeymap::name(key)};
    post(key, found->second, down);
    if (!m_connection.flush()) {
        return Failure{Reason::PostFailed, (down ? QStringLiteral("press ") : QStringLiteral("release ")) +
                                               XkbKeymap::name(key) + QStringLiteral(": ") +
                                               m_connection.failure()};
    }
    return std::monostate{};
}
