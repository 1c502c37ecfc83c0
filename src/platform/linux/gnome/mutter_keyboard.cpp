#include "platform/linux/gnome/mutter_keyboard.h"

#include "platform/linux/gnome/mutter_remote_desktop.h"
#include "platform/linux/keys/chord_keysyms.h"

using Reason = KeySynthesizer::Failure::Reason;

MutterKeyboard::MutterKeyboard(MutterRemoteDesktop& desktop)
    : m_desktop(desktop)
{
    makeKeyboard();
}

void MutterKeyboard::makeKeyboard()
{
    if (!m_desktop.session().ok() || m_keyboardGeneration == m_desktop.generation())
        return;
    m_keyboardGeneration = m_desktop.generation();
    // The compositor adds the session's keyboard to the seat with its first key. A seat that had
    // none (a headless one) gives windows the focus only then, and the key that made the keyboard
    // reaches no window: a lone Control tap, here rather than in the first chord, makes it.
    if (send(Key::Control, true).ok())
        send(Key::Control, false);
}

Result<SyntheticKeyboard::State, SyntheticKeyboard::Failure> MutterKeyboard::state()
{
    const auto session = m_desktop.session();
    if (!session.ok())
        return Failure{Reason::Unavailable, session.error().reason};
    makeKeyboard();
    return State{};
}

SyntheticKeyboard::Done MutterKeyboard::send(Key key, bool down)
{
    const auto reply = m_desktop.call(QStringLiteral("NotifyKeyboardKeysym"), {chordKeysym(key), down});
    if (!reply.ok())
        return Failure{Reason::PostFailed, reply.error().reason};
    return std::monostate{};
}
