#pragma once

#include <QDBusConnection>
#include <QList>
#include <QString>
#include <QStringList>

namespace DesktopPortal {

inline const QString service = QStringLiteral("org.freedesktop.portal.Desktop");

// The version of each of the desktop portal's `interfaces`, in their order: zero where the portal
// neither runs nor can be started, lacks the interface or does not answer within `timeoutMs`. The
// interfaces are asked at once, so a portal that is slow to start costs one wait, not one each.
// Blocks; asking may start the portal through D-Bus activation.
QList<uint> versions(const QDBusConnection& bus, const QStringList& interfaces, int timeoutMs,
                     const QString& portal = service);

} // namespace DesktopPortal
