#include "dictation/hotkey/hotkey_monitor.h"

#include "core/base/timing.h"
#include "dictation/hotkey/own_chords.h"

namespace {

constexpr int holdDelayMs = 180;
// Measured from the release of the first tap to the release of the second.
constexpr int doubleTapWindowMs = 450;

std::optional<std::size_t> namedIndex(PhysicalKey key)
{
    switch (key) {
    case PhysicalKey::RightAlt:
        return 0;
    case PhysicalKey::RightSuper:
        return 1;
    case PhysicalKey::RightControl:
        return 2;
    case PhysicalKey::LeftControl:
        return 3;
    case PhysicalKey::Escape:
        return 4;
    case PhysicalKey::Modifier:
    case PhysicalKey::Other:
        break;
    }
    return std::nullopt;
}

} // namespace

HotkeyMonitor::HotkeyMonitor(KeySource& source, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_source(source)
    , m_clock(clock)
{
}

HotkeyMonitor::~HotkeyMonitor()
{
    // Nobody is left to hear of a hold ending here.
    blockSignals(true);
    stop();
}

void HotkeyMonitor::setHotkey(Hotkey hotkey)
{
    if (hotkey == m_hotkey)
        return;
    const PhysicalKey before = watchedKey();
    m_hotkey = hotkey;
    if (m_running)
        noteFunctionFallback();
    if (watchedKey() == before)
        return;
    m_source.watch(watchedKey());
    // The old key's release is no longer recognised, so a hold under way would never end.
    const bool wasHolding = m_holdActive;
    m_armed = false;
    m_holdActive = false;
    if (wasHolding)
        emit holdEnded();
}

KeySource::Reach HotkeyMonitor::start()
{
    stop();
    m_running = true;
    noteFunctionFallback();
    m_source.watch(watchedKey());
    const KeySource::Reach reach = m_source.start(*this);
    if (reach == KeySource::Reach::OwnWindows)
        Timing::mark(QStringLiteral("hotkey: no global key events here; only keys typed into Quenda's own "
                                    "windows are seen"));
    return reach;
}

void HotkeyMonitor::stop()
{
    if (m_running)
        m_source.stop();
    m_running = false;
    m_down.reset();
    // The release will not be seen any more, so a hold under way would never end.
    const bool wasHolding = m_holdActive;
    m_armed = false;
    m_holdActive = false;
    if (wasHolding)
        emit holdEnded();
}

PhysicalKey HotkeyMonitor::watchedKey() const
{
    switch (m_hotkey) {
    case Hotkey::RightOption:
        return PhysicalKey::RightAlt;
    case Hotkey::RightCommand:
        return PhysicalKey::RightSuper;
    case Hotkey::LeftControl:
        return PhysicalKey::LeftControl;
    case Hotkey::RightControl:
    case Hotkey::Function:
        break;
    }
    return PhysicalKey::RightControl;
}

void HotkeyMonitor::noteFunctionFallback()
{
    if (m_hotkey != Hotkey::Function || m_functionNoted)
        return;
    m_functionNoted = true;
    Timing::mark(QStringLiteral("hotkey: X11 reports no Fn key; right Control serves instead"));
}

void HotkeyMonitor::keyPressed(PhysicalKey key)
{
    const auto index = namedIndex(key);
    if (!index) {
        if (key == PhysicalKey::Other)
            otherKeyPressed();
        return;
    }
    if (m_down.test(*index))
        return;
    m_down.set(*index);
    if (key == PhysicalKey::Escape) {
        emit escapePressed();
    } else if (key == watchedKey()) {
        // With Left Control as the hotkey, the Control of our own paste chord is no press of it:
        // it would close the card that shows what was pasted and count as a tap.
        if (m_ownChords && m_ownChords->striking())
            return;
        hotkeyDown();
    }
}

void HotkeyMonitor::otherKeyPressed()
{
    if (m_ownChords && m_ownChords->claim())
        return;
    madeShortcut();
    emit typed();
}

void HotkeyMonitor::buttonPressed()
{
    madeShortcut();
}

void HotkeyMonitor::madeShortcut()
{
    // Typing or clicking while the hotkey is down makes the press a shortcut: before the hold
    // starts it cancels both the hold and the tap; after, it is reported.
    if (m_holdActive)
        emit shortcutTyped();
    m_armed = false;
}

void HotkeyMonitor::keyReleased(PhysicalKey key)
{
    const auto index = namedIndex(key);
    if (!index)
        return;
    m_down.reset(*index);
    if (key == watchedKey())
        hotkeyUp();
}

void HotkeyMonitor::hotkeyDown()
{
    m_armed = true;
    const quint64 token = ++m_armToken;
    // Left pending on release: the token makes a check of an earlier press do nothing.
    m_clock.singleShot(holdDelayMs, this, [this, token] {
        if (!m_armed || m_holdActive || token != m_armToken)
            return;
        m_holdActive = true;
        emit holdStarted();
    });
    emit pressed();
}

void HotkeyMonitor::hotkeyUp()
{
    const bool wasHolding = m_holdActive;
    const bool wasArmed = m_armed;
    m_armed = false;
    m_holdActive = false;
    if (wasHolding) {
        emit holdEnded();
        return;
    }
    if (!wasArmed)
        return;
    const qint64 now = m_clock.elapsedMs();
    if (m_lastTapMs && now - *m_lastTapMs < doubleTapWindowMs) {
        m_lastTapMs.reset();
        emit toggled();
    } else {
        m_lastTapMs = now;
    }
}
