#include "ui/pages/style/app_icon_cache.h"

#include "platform/app_icons.h"
#include "ui/kit/symbol.h"
#include "ui/kit/theme.h"

#include <QPixmap>

AppIconCache::AppIconCache(AppIcons* icons)
    : m_icons(icons)
{
}

QIcon AppIconCache::icon(const QString& appId)
{
    const auto found = m_found.constFind(appId);
    if (found != m_found.constEnd())
        return *found;
    QIcon icon = m_icons ? m_icons->icon(appId) : QIcon();
    if (icon.isNull()) {
        if (m_fallback.isNull()) {
            for (const int side : {28, 56})
                m_fallback.addPixmap(QPixmap::fromImage(
                    SymbolArt::tinted(Symbol::App, QSize(side, side), QColor(128, 128, 136))));
        }
        icon = m_fallback;
    }
    m_found.insert(appId, icon);
    return icon;
}
