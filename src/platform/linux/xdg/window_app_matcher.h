#pragma once

#include "platform/linux/xdg/installed_app.h"

#include <QList>
#include <QString>

#include <optional>

// Finds the installed application a window belongs to by its WM_CLASS: a desktop file's
// StartupWMClass first, then a desktop-file id equal to the class or the instance, then an id
// whose last dotted part is ("org.gnome.gedit" for "gedit"). Case is ignored throughout.
class WindowAppMatcher final {
public:
    explicit WindowAppMatcher(QList<InstalledApp> apps = {});

    std::optional<InstalledApp> match(const QString& instance, const QString& className) const;

private:
    QList<InstalledApp> m_apps;
};
