#pragma once

class AppState;
class QLabel;
class QWidget;

namespace SessionNotice {

// The line that says where the hotkey and pasting reach in a Wayland session; hidden elsewhere, so
// an X11 desktop shows nothing of it. Named "waylandNotice".
QLabel* make(QWidget* parent);

// What this session needs of the user and what does not work in it (keys, clipboard, widget), one
// line each; hidden where everything works. Named "sessionRoutesNotice".
QLabel* routes(const AppState& state, QWidget* parent);

} // namespace SessionNotice
