#pragma once

class AppState;
class QLabel;
class QWidget;

namespace SessionNotice {

// What this session needs of the user and what does not work in it (keys, clipboard, widget), one
// line each, in the warning colour; hidden where everything works. Named "sessionRoutesNotice".
QLabel* routes(const AppState& state, QWidget* parent);
// The same lines in a card, led by a warning symbol while something does not work and by a note
// where the session only needs the user's approval; hidden with the lines.
QWidget* card(const AppState& state, QWidget* parent);

} // namespace SessionNotice
