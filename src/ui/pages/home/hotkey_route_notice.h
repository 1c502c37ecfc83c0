#pragma once

#include "core/model/hotkey.h"

#include <QString>

class AppState;
class QWidget;

// Where the hotkey comes from when it is not the X11 desktop's own input, which routes failed before
// it, what it cannot do, and how to get the best one; kept to the state's route, hidden on X11.
// Named "hotkeyRouteNotice".
namespace HotkeyRouteNotice {

QWidget* make(const AppState& state, QWidget* parent);

// The lines a sway or Hyprland configuration needs to report the hotkey to a running Quenda.
QString swayBinding(Hotkey hotkey);
QString hyprlandBinding(Hotkey hotkey);

} // namespace HotkeyRouteNotice
