#include "json_file.h"

#include "timing.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>
#include <QSet>

namespace {

QMutex g_mutex;
QSet<QString> g_undecodable;

// Renames a file marked undecodable; false when it is still in the way.
bool keepAside(const QString& path)
{
    QMutexLocker lock(&g_mutex);
    if (!g_undecodable.contains(path))
        return true;
    if (!QFileInfo::exists(path)) {
        g_undecodable.remove(path);
        return true;
    }
    const QString aside =
        path + QStringLiteral(".corrupt-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmsszzz"));
    if (!QFile::rename(path, aside)) {
        Timing::mark(QStringLiteral("could not keep aside undecodable ") + path);
        return false;
    }
    g_undecodable.remove(path);
    Timing::mark(QStringLiteral("kept undecodable file aside as ") + aside);
    return true;
}

} // namespace

JsonFile::ReadResult JsonFile::read(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {ReadStatus::Missing, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {ReadStatus::Unreadable, {}};
    return {ReadStatus::Ok, file.readAll()};
}

void JsonFile::markUndecodable(const QString& path)
{
    QMutexLocker lock(&g_mutex);
    g_undecodable.insert(path);
}

bool JsonFile::writeAtomically(const QString& path, const QByteArray& bytes)
{
    if (!keepAside(path))
        return false;
    QSaveFile file(path);
    // Unbuffered, so a short write (disk full, size limit) shows here instead of being lost in the
    // buffer flush that commit() does not report.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
