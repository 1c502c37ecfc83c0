#include "platform/linux/xdg/xdg_app_icons.h"

#include <QDir>
#include <QFileInfo>

XdgAppIcons::XdgAppIcons(QStringList folders)
    : m_applications(std::move(folders))
{
}

QIcon XdgAppIcons::icon(const QString& appId)
{
    const auto entry = m_applications.entry(appId);
    return entry ? resolve(entry->icon) : QIcon();
}

QIcon XdgAppIcons::resolve(const QString& value)
{
    if (value.isEmpty())
        return {};
    if (QDir::isAbsolutePath(value)) {
        // An unreadable file would draw nothing, where the fallback symbol should show.
        const QIcon file(value);
        return QFileInfo::exists(value) && !file.pixmap(QSize(32, 32)).isNull() ? file : QIcon();
    }
    if (QIcon::hasThemeIcon(value))
        return QIcon::fromTheme(value);
    // Older files name the theme icon with its file extension.
    const QString bare = QFileInfo(value).completeBaseName();
    if (bare != value && QIcon::hasThemeIcon(bare))
        return QIcon::fromTheme(bare);
    return {};
}
