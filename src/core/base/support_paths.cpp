#include "core/base/support_paths.h"

#include <QDir>
#include <QMutex>
#include <QStandardPaths>

#include <optional>

namespace {

struct State {
    QMutex mutex;
    std::optional<QString> root;
    std::optional<QString> directory;
    bool untouched = false;
};

// Never destroyed: a timing mark from a static destructor at exit still needs the folder.
State& state()
{
    static State* const instance = new State;
    return *instance;
}

QString resolve(const QString& root, bool untouched)
{
    const QString target = QDir(root).filePath(QStringLiteral("Morvane Quenda"));
    if (untouched)
        return target;
    const QString old = QDir(root).filePath(QStringLiteral("Quenda"));
    // System lists dangling symlinks, sockets and FIFOs, which are visible entries too.
    const bool targetEmpty =
        QDir(target).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).isEmpty();
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
    State& s = state();
    QMutexLocker lock(&s.mutex);
    if (!s.directory) {
        const QString root =
            s.root.value_or(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
        s.directory = resolve(root, s.untouched);
    }
    return *s.directory;
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

void SupportPaths::setUntouched(bool untouched)
{
    State& s = state();
    QMutexLocker lock(&s.mutex);
    s.untouched = untouched;
    s.directory.reset();
}

void SupportPaths::setDataRoot(const QString& root)
{
    State& s = state();
    QMutexLocker lock(&s.mutex);
    s.root = root;
    s.directory.reset();
}
