#pragma once

#include "core/model/session_routes.h"

#include <QString>

// Asks the session what it offers for keys, clipboard, panel and hotkey. Blocks for at most a few
// round trips to the compositor and the session bus and one look at the keyboards; called once, at
// launch, after the QGuiApplication.
namespace SessionProbe {

inline constexpr int portalTimeoutMs = 2000;

// `globals` are the interface names the compositor announced (empty outside Wayland).
SessionOffer offer(const QByteArrayList& globals);

} // namespace SessionProbe
