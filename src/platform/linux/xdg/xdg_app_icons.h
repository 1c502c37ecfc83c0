#pragma once

#include "platform/app_icons.h"
#include "platform/linux/xdg/xdg_applications.h"

// Icons named by the applications' desktop files: an icon-theme name looked up in the desktop's
// theme, or an absolute path to an image file.
class XdgAppIcons final : public AppIcons {
public:
    explicit XdgAppIcons(QStringList folders = XdgApplications::standardFolders());

    QIcon icon(const QString& appId) override;

    // The icon an Icon= value names; null when the theme has no such icon or the file is missing.
    static QIcon resolve(const QString& value);

private:
    XdgApplications m_applications;
};
