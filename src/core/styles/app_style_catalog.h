#pragma once

#include "core/model/app_style_profile.h"

#include <QList>
#include <QString>
#include <QStringList>

// Suggests a writing style for an application and names the installed applications as style
// targets. On Linux the bundle identifier is the desktop-file id without ".desktop".
namespace AppStyleCatalog {

// This program's own id, never a style target.
QString ownBundleID();

// "auto", "code", "email", "chat" or "notes", from bundle-id prefixes and name keywords.
QString suggest(const QString& bundleID, const QString& name);

// The "applications" folder of every XDG data folder, most important first.
QStringList applicationFolders();
// The applications of the desktop files in applicationFolders(); touches only the file system,
// so it may run off the main thread.
QList<FrontApp> installedApps();
// Each id once, the first occurrence winning, in the order found.
QList<FrontApp> installedApps(const QStringList& folders);

// Drops every later entry of an id already seen; order kept.
QList<FrontApp> unify(const QList<FrontApp>& apps);

} // namespace AppStyleCatalog
