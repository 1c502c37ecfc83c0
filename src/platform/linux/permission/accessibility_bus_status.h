#pragma once

#include <QString>

#include <optional>

// Whether the desktop has switched its accessibility (AT-SPI) bus on: the IsEnabled property of
// org.a11y.Status on the session bus. Toolkits expose their widgets only while it is on.
namespace AccessibilityBusStatus {

constexpr QLatin1String busName{"org.a11y.Bus"};

// Blocks for up to a second: call off the main thread. Absent when the bus could not be asked
// (no session bus, no such service, or no boolean in the answer).
std::optional<bool> isEnabled(const QString& service = busName);

} // namespace AccessibilityBusStatus
