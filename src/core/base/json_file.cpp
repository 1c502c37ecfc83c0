#include "core/base/json_file.h"

#include "core/base/timing.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct State {
    // Held across a read and its decode and across a keep-aside and its write.
    QMutex mutex;
    QSet<QString> undecodable;
};

// Never destroyed, like the timing log it reports to, so a save at exit still finds it.
State& state()
{
    static State* const instance = new State;
    return *instance;
}

// Renames a file marked undecodable; false when it is still in the way. Caller holds the lock.
bool keepAside(State& s, const QString& path)
{
    if (!s.undecodable.contains(path))
        return true;
    if (!QFileInfo::exists(path)) {
        s.undecodable.remove(path);
        return true;
    }
    const QString aside = path + QStringLiteral(".corrupt-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmsszzz"));
    if (!QFile::rename(path, aside)) {
        Timing::mark(QStringLiteral("could not keep aside undecodable ") + path);
        return false;
    }
    s.undecodable.remove(path);
    Timing::mark(QStringLiteral("kept undecodable file aside as ") + aside);
    return true;
}

enum class ReadStatus { Ok, Missing, Unreadable };

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes;
};

ReadResult read(const QString& path)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come and start-up hangs;
    // the type is then checked on the opened file, so nothing can be swapped in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable, {}};
    ReadResult result{ReadStatus::Unreadable, {}};
    struct stat st {};
    // A FIFO, device, socket or directory is never a file we wrote.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            result = {ReadStatus::Ok, file.readAll()};
    }
    ::close(fd);
    return result;
}

} // namespace

void JsonFile::readAndDecode(const QString& path, const std::function<bool(const QByteArray&)>& decode)
{
    State& s = state();
    QMutexLocker lock(&s.mutex);
    const auto file = read(path);
    if (file.status == ReadStatus::Missing)
        return;
    if (file.status == ReadStatus::Ok && decode(file.bytes))
        s.undecodable.remove(path); // replaced by a good file since an earlier failed read
    else
        s.undecodable.insert(path);
}

bool JsonFile::writeAtomically(const QString& path, const QByteArray& bytes)
{
    State& s = state();
    QMutexLocker lock(&s.mutex);
    if (!keepAside(s, path))
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
