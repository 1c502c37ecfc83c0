#include "core/base/desktop_session.h"

#include <QByteArray>
#include <QtGlobal>

bool DesktopSession::isWayland()
{
    return qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
