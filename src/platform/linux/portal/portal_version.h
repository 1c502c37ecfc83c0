#pragma once

#include <QDBusConnection>
#include <QString>

namespace DesktopPortal {

inline const QString service = QStringLiteral("org.freedesktop.portal.Desktop");

// The version of one of the desktop portal's interfaces, zero where the portal neither runs nor can
// be started, lacks the interface or does not answer within `timeoutMs`. Blocks; asking may start
// the portal through D-Bus activation.
uint version(const QDBusConnection& bus, const QString& interface, int timeoutMs,
             const QString& portal = service);

} // namespace DesktopPortal
