#include "platform/linux/xdg/xdg_applications.h"

#include "core/base/app_id.h"
#include "platform/linux/xdg/desktop_entry.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

QStringList XdgApplications::standardFolders()
{
    QStringList folders;
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath(QStringLiteral("applications"));
    folders.removeDuplicates();
    return folders;
}

XdgApplications::XdgApplications(QStringList folders)
    : m_folders(std::move(folders))
{
}

QList<FrontApp> XdgApplications::scan() const
{
    QList<FrontApp> apps;
    for (const InstalledApp& installed : entries())
        apps.append(installed.app);
    return apps;
}

QList<InstalledApp> XdgApplications::entries() const
{
    const QLocale locale;
    QSet<QString> seen;
    QList<InstalledApp> apps;
    for (const QString& folder : m_folders) {
        const QDir root(folder);
        QStringList files;
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << root.relativeFilePath(it.next());
        files.sort();
        for (const QString& relative : files) {
            // The desktop-file id: the path below "applications" with "/" turned into "-".
            QString id = relative.chopped(int(qstrlen(".desktop")));
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seen.contains(id))
                continue;
            const auto entry = DesktopEntry::read(root.filePath(relative), locale);
            if (!entry)
                continue;
            // The first file of an id decides, so a hidden user copy masks the system's entry.
            seen.insert(id);
            if (entry->type != QLatin1String("Application") || entry->noDisplay || entry->hidden)
                continue;
            if (id == appId || id.toLower().contains(QLatin1String("helper")))
                continue;
            apps.append({{id, entry->name.isEmpty() ? id : entry->name},
                         entry->startupWMClass,
                         entry->categories.contains(QLatin1String("TerminalEmulator")),
                         entry->icon});
        }
    }
    return apps;
}

std::optional<DesktopEntry> XdgApplications::entry(const QString& id) const
{
    // An id's "-" may stand for a folder below "applications": try the plain name, then each
    // split, left to right.
    QStringList candidates{id};
    for (qsizetype at = id.indexOf(QLatin1Char('-')); at > 0; at = id.indexOf(QLatin1Char('-'), at + 1)) {
        QString nested = id;
        for (qsizetype i = 0; i <= at; ++i) {
            if (nested.at(i) == QLatin1Char('-'))
                nested[i] = QLatin1Char('/');
        }
        candidates << nested;
    }
    const QLocale locale;
    for (const QString& folder : m_folders) {
        const QDir root(folder);
        for (const QString& candidate : candidates) {
            const QString path = root.filePath(candidate + QStringLiteral(".desktop"));
            if (QFileInfo::exists(path))
                return DesktopEntry::read(path, locale);
        }
    }
    return std::nullopt;
}
