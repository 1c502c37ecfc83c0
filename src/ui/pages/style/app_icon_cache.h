#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

class AppIcons;

// Each application's icon, asked of the desktop once and kept for as long as the main window
// lives, so neither a repaint nor a page built anew looks it up again. Without a desktop service,
// and for an application the desktop has no icon for, the "app" symbol stands in.
class AppIconCache final {
public:
    explicit AppIconCache(AppIcons* icons);

    QIcon icon(const QString& appId);

private:
    AppIcons* m_icons;
    QHash<QString, QIcon> m_found;
    QIcon m_fallback;
};
