#pragma once

class QLabel;
class QWidget;

namespace SessionNotice {

// The line that says where the hotkey and pasting reach in a Wayland session; hidden elsewhere, so
// an X11 desktop shows nothing of it. Named "waylandNotice".
QLabel* make(QWidget* parent);

} // namespace SessionNotice
