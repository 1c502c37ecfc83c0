#pragma once

#include <QIcon>
#include <QString>

// The icons the desktop gives its applications, by desktop-file id. A lookup may read files, so
// callers keep each answer instead of asking again on every repaint.
class AppIcons {
public:
    virtual ~AppIcons() = default;

    // A null icon when the desktop has none for the application (unknown, or its icon is missing).
    virtual QIcon icon(const QString& appId) = 0;
};
