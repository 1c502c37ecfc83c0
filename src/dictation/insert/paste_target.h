#pragma once

#include "core/text/caret_context.h"
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
// What one read of the focused field tells a paste: the keys it takes and the place it goes.
struct Field {
    Focus focus = Focus::Unseen;
    std::optional<CaretContext> caret; // none where the field does not show its text
};
// How far back from the caret a field's text is read to find what stands before it.
inline constexpr int caretLookBack = 64;

// Reads the focused element once, on the accessibility thread. Of a window that has a name only
// whether it is a terminal is asked, not whether a text field shows (Ctrl+V goes there anyway);
// an element that does not answer its role is asked nothing more, as each question would cost
// the messaging time-out again.
Field read(Accessibility& a11y, bool windowNamed);
// What stands before `selection` in `element`: a paste replaces the selection.
std::optional<CaretContext> caretBefore(Accessibility& a11y, const AccessibleElement& element,
                                        Accessibility::Range selection);

// None where no keys are known to paste safely, and the text stays on the clipboard. `primary`:
// our text can be offered as the primary selection as well, which Shift+Insert needs.
std::optional<KeySynthesizer::Target> choose(const std::optional<AppWindow>& window, Focus focus,
                                             bool primary);

} // namespace PasteTarget
