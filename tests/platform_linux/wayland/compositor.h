#pragma once

#include <QByteArray>
#include <QtGlobal>

// The headless sway that scripts/with-services starts, or the compositor of WAYLAND_DISPLAY.
inline QByteArray swayDisplay()
{
    const QByteArray sway = qgetenv("QUENDA_SWAY_WAYLAND_DISPLAY");
    return sway.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : sway;
}
