#pragma once

#include <optional>

// The session's accessibility switch (org.a11y.Status.IsEnabled on org.a11y.Bus), which toolkits
// read to decide whether to expose their widgets. Calls block on the session bus.
namespace AccessibilityBus {

// Turns accessibility on for the session; false when the bus did not take it.
bool enable();
// None when the bus did not answer.
std::optional<bool> isEnabled();

} // namespace AccessibilityBus
