#pragma once

#include "core/model/app_style_profile.h"

#include <QList>
#include <QString>

// The applications the style page lists, in their stored order. A query (trimmed; blank counts as
// none) searches every known application by name or id, ignoring case and diacritics. Without
// one, showAll lists every application, else only the recognised ones: customised, or with a
// suggestion other than "auto".
QList<AppStyleProfile> visibleApps(const QList<AppStyleProfile>& profiles, const QString& query,
                                   bool showAll);
