#pragma once

class AppState;
class Card;
class QWidget;

// How to dictate with the configured key: hold it, tap it twice for hands-free, Escape to cancel.
namespace HotkeyGuide {

// The key caps are named from the configuration as it is now; home is built anew on every visit.
Card* make(const AppState& state, QWidget* parent = nullptr);

} // namespace HotkeyGuide
