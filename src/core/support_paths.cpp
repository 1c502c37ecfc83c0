#include "support_paths.h"

#include "run_mode.h"

#include <QDir>
#include <QMutex>
#include <QStandardPaths>

#include <optional>

namespace {

const QString kFolder = QStringLiteral("Morvane Quenda");
const QString kOldFolder = QStringLiteral("Quenda");

QMutex g_mutex;
std::optional<QString> g_root;
std::optional<QString> g_directory;

QString resolve(const QString& root)
{
    const QString target = QDir(root).filePath(kFolder);
    if (RunMode::isSnapshot())
        return target;
    const QString old = QDir(root).filePath(kOldFolder);
    const bool targetEmpty = QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty();
    if (targetEmpty && QFileInfo::exists(old)) {
        // Only dot-files can be in the way; they do not count as contents worth keeping.
        QDir(target).removeRecursively();
        if (QDir().rename(old, target))
            QFile::remove(QDir(target).filePath(QStringLiteral("engine.version")));
    }
    QDir().mkpath(target);
    return target;
}

} // namespace

QString SupportPaths::directory()
{
    QMutexLocker lock(&g_mutex);
    if (!g_directory) {
        const QString root =
            g_root.value_or(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
        g_directory = resolve(root);
    }
    return *g_directory;
}

QString SupportPaths::models()
{
    const QString path = file(QStringLiteral("models"));
    QDir().mkpath(path);
    return path;
}

QString SupportPaths::file(const QString& name)
{
    return QDir(directory()).filePath(name);
}

void SupportPaths::setDataRoot(const QString& root)
{
    QMutexLocker lock(&g_mutex);
    g_root = root;
    g_directory.reset();
}
