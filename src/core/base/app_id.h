#pragma once

#include <QLatin1String>

// The program's reverse-domain id: its desktop file and autostart entry, its key store service and
// schema, and the application id its own windows carry among the desktop's applications.
inline constexpr QLatin1String appId{"de.morvane.quenda"};
