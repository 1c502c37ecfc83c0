#pragma once

class AppState;
class QLabel;
class QWidget;

namespace SessionNotice {

// What this session needs of the user and what does not work in it (keys, clipboard, widget), one
// line each; hidden where everything works. Named "sessionRoutesNotice".
QLabel* routes(const AppState& state, QWidget* parent);

} // namespace SessionNotice
