#pragma once

#include "core/model/app_style_profile.h"
#include "platform/linux/xdg/desktop_entry.h"
#include "platform/linux/xdg/installed_app.h"

#include <QList>
#include <QStringList>

// The applications the XDG desktop files of some "applications" folders describe.
class XdgApplications final {
public:
    // The "applications" folder of every XDG data folder, most important first.
    static QStringList standardFolders();

    explicit XdgApplications(QStringList folders = standardFolders());

    // Each desktop-file id once, the first folder holding it deciding, in the order found. Touches
    // only the file system, so it may run off the main thread.
    QList<FrontApp> scan() const;
    // The same applications with what their desktop files say about their windows.
    QList<InstalledApp> entries() const;
    // The desktop file of one id, found without reading the others: the first folder holding
    // it decides. Absent when no folder has it.
    std::optional<DesktopEntry> entry(const QString& id) const;

private:
    QStringList m_folders;
};
