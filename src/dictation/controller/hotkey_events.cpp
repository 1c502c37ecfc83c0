#include "dictation/controller/hotkey_events.h"

#include "dictation/hotkey/hotkey_monitor.h"

void HotkeyEvents::follow(HotkeyMonitor& monitor)
{
    connect(&monitor, &HotkeyMonitor::pressed, this, &HotkeyEvents::pressed);
    connect(&monitor, &HotkeyMonitor::holdStarted, this, &HotkeyEvents::holdStarted);
    connect(&monitor, &HotkeyMonitor::holdEnded, this, &HotkeyEvents::holdEnded);
    connect(&monitor, &HotkeyMonitor::toggled, this, &HotkeyEvents::toggled);
    connect(&monitor, &HotkeyMonitor::escapePressed, this, &HotkeyEvents::escapePressed);
    connect(&monitor, &HotkeyMonitor::shortcutTyped, this, &HotkeyEvents::shortcutTyped);
}
