#pragma once

#include "platform/accessibility.h"
#include "platform/app_window.h"
#include "platform/key_synthesizer.h"

#include <optional>

// Which paste keys the focused window gets. Ctrl+V types ^V into a terminal, so a window nobody
// could name (a native Wayland one: only X windows are known by class) gets them only where
// accessibility shows a text field in it.
namespace PasteTarget {

// What accessibility shows of the focused element.
enum class Focus { Unseen, TextEntry, Terminal };

// Editable by its own word, else by what can be set, else by its role. Blocks: call it from a
// background thread or inside Accessibility::run.
bool takesText(Accessibility& a11y, const AccessibleElement& element);
// Only whether it is a terminal for a window that has a name: Ctrl+V goes there whether or not a
// text field shows, so a slow application is not asked more.
Focus focus(Accessibility& a11y, bool windowNamed);

// None where no keys are known to paste safely, and the text stays on the clipboard. `primary`:
// our text can be offered as the primary selection as well, which Shift+Insert needs.
std::optional<KeySynthesizer::Target> choose(const std::optional<AppWindow>& window, Focus focus,
                                             bool primary);

} // namespace PasteTarget
