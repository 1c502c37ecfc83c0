#pragma once

#include "core/model/app_style_profile.h"

#include <QList>
#include <QString>
#include <QStringList>

// Suggests a writing style for an application. On Linux the bundle identifier is the desktop-file
// id without ".desktop".
namespace AppStyleCatalog {

// "auto", "code", "email", "chat" or "notes", from bundle-id prefixes and name keywords.
QString suggest(const QString& bundleID, const QString& name);

// Drops every later entry of an id already seen; order kept.
QList<FrontApp> unify(const QList<FrontApp>& apps);

} // namespace AppStyleCatalog
