#pragma once

#include <QLatin1String>
#include <QString>

#include <optional>

// The session's accessibility switch (org.a11y.Status.IsEnabled on org.a11y.Bus), which toolkits
// read to decide whether to expose their widgets. Calls block on the session bus.
namespace AccessibilityBus {

constexpr QLatin1String busName{"org.a11y.Bus"};

// Turns accessibility on for the session; false when the bus did not take it.
bool enable();
// Absent when the bus could not be asked: no session bus, no such service, no answer within
// `timeoutMs` or no boolean in it. Tests pass a stand-in's `service`.
std::optional<bool> isEnabled(int timeoutMs, const QString& service = busName);

} // namespace AccessibilityBus
