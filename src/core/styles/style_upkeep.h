#pragma once

#include "core/model/app_style_profile.h"

#include <QList>
#include <QObject>
#include <QString>

class StyleProfiles;
class WindowSystem;
class WorkQueue;

// Keeps a style profile for every application the user meets, with the catalogue's suggestion
// for each one the user has not customised.
class StyleUpkeep final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StyleUpkeep)

public:
    // The window system is read on the work queue, whose jobs must end before it goes.
    StyleUpkeep(StyleProfiles& profiles, WindowSystem& windows, WorkQueue& work, QObject* parent = nullptr);

    // The customised style, else the suggestion, also for an application without a profile.
    QString effectiveStyle(const FrontApp& app) const;
    // Adds a profile (in name order) or renames one, as upkeep.
    void rememberApp(const FrontApp& app);
    // The user's choice; choosing the suggestion undoes the customisation.
    void setAppStyle(const QString& bundleID, const QString& name, const QString& style);
    // Merges the installed and running applications, read on the work queue.
    // A scan that ends after the upkeep is gone is dropped; asked again while one runs, it
    // starts no second one.
    void rescan();
    bool scanning() const { return m_scanning; }
    // Adds the unknown, renames the known and refreshes uncustomised suggestions; one write at most.
    void mergeInstalledApps(const QList<FrontApp>& apps);

private:
    StyleProfiles& m_profiles;
    WindowSystem& m_windows;
    WorkQueue& m_work;
    bool m_scanning = false;
};
