#include "temp_support_dir.h"
#include "test_text.h"

#include "core/base/json_file.h"
#include "core/base/support_paths.h"
#include "core/config/quenda_config.h"
#include "core/storage/history_store.h"
#include "core/storage/note_store.h"

#include <QDir>
#include <QFileInfo>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <optional>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using std::chrono_literals::operator""s;

std::optional<QByteArray> decodeAnyObject(const QByteArray& bytes)
{
    return bytes.trimmed().startsWith('{') ? std::optional(bytes) : std::nullopt;
}

// The file's type from lstat, so a kept-aside FIFO is seen as one.
mode_t typeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool makeSocket(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (native.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, native.constData(), native.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

// Reads `path` on a worker. Opening a FIFO without a writer would block for good, so a read that
// does not return in time is released by opening the FIFO's other end, and counts as hung.
bool readsPromptly(const QString& path, const std::function<void()>& read)
{
    auto done = std::async(std::launch::async, read);
    if (done.wait_for(5s) == std::future_status::ready)
        return true;
    const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
        ::close(writer);
    done.wait();
    return false;
}

class JsonFileTest : public TempSupportDir {
protected:
    QString file() const { return supportFile(s("store.json")); }

    // Each step needs the one before, so a failure ends the case; a helper lets the next one run.
    void expectUnreadableAndKeptAside(bool (*make)(const QString& path), mode_t type)
    {
        ASSERT_TRUE(make(file()));
        std::optional<QByteArray> loaded;
        ASSERT_TRUE(readsPromptly(file(), [&] { loaded = JsonFile::load(file(), &decodeAnyObject); }));
        EXPECT_FALSE(loaded);

        ASSERT_TRUE(JsonFile::writeAtomically(file(), "{}"));
        EXPECT_EQ(typeOf(file()), mode_t(S_IFREG));
        EXPECT_EQ(readAll(file()), QByteArray("{}"));
        const QStringList aside = keptAside(s("store.json"));
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(typeOf(supportFile(aside[0])), type);
    }

    void SetUp() override
    {
        TempSupportDir::SetUp();
        QDir().mkpath(QFileInfo(file()).path());
    }
};

} // namespace

TEST_F(JsonFileTest, WhatIsNotARegularFileIsUnreadableAndKeptAsideOnTheNextWrite)
{
    // clang-format off
    const struct {
        const char* what;
        bool (*make)(const QString& path);
        mode_t type;
    } cases[] = {
        {.what = "FIFO", .make = makeFifo, .type = S_IFIFO},
        {.what = "directory", .make = [](const QString& path) { return QDir().mkdir(path); }, .type = S_IFDIR},
        {.what = "socket", .make = makeSocket, .type = S_IFSOCK},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(QFileInfo(file()).path()).removeRecursively();
        QDir().mkpath(QFileInfo(file()).path());
        expectUnreadableAndKeptAside(c.make, c.type);
    }
}

TEST_F(JsonFileTest, AFileRepairedByHandBetweenTwoLoadsIsReplacedWithoutBeingKeptAside)
{
    writeAll(file(), "broken");
    EXPECT_FALSE(JsonFile::load(file(), &decodeAnyObject));
    writeAll(file(), R"({"repaired": true})");
    EXPECT_TRUE(JsonFile::load(file(), &decodeAnyObject));

    ASSERT_TRUE(JsonFile::writeAtomically(file(), "{}"));
    EXPECT_EQ(readAll(file()), QByteArray("{}"));
    EXPECT_TRUE(keptAside(s("store.json")).isEmpty());
}

TEST_F(JsonFileTest, AFailedCommitReportsFailureAndLeavesTheOldFileWhole)
{
    // Replacing a file whose name is near the length limit opens and writes a temporary file
    // without a name, then fails to give it the longer temporary name it needs before the rename.
    const QString path = QDir(QFileInfo(file()).path()).filePath(QString(250, QLatin1Char('c')));
    writeAll(path, "old");
    EXPECT_FALSE(JsonFile::writeAtomically(path, "new"));
    EXPECT_EQ(readAll(path), QByteArray("old"));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(TempSupportDir, AFifoInPlaceOfAStoredFileNeitherHangsStartUpNorIsLostOnSave)
{
    // clang-format off
    const struct {
        const char* file;
        void (*load)();
        bool (*save)();
    } stores[] = {
        {.file = "config.json", .load = [] { QuendaConfig::load(); }, .save = [] { return QuendaConfig::standard().save(); }},
        {.file = "history.json", .load = [] { HistoryStore::load(); }, .save = [] { return HistoryStore::save({}); }},
        {.file = "notes.json", .load = [] { NoteStore::load(); }, .save = [] { return NoteStore::save({}); }},
    };
    // clang-format on
    QDir().mkpath(SupportPaths::directory());
    for (const auto& store : stores) {
        SCOPED_TRACE(store.file);
        const QString path = supportFile(s(store.file));
        ASSERT_TRUE(makeFifo(path));
        ASSERT_TRUE(readsPromptly(path, store.load));
        ASSERT_TRUE(store.save());
        EXPECT_EQ(typeOf(path), mode_t(S_IFREG));
        const QStringList aside = keptAside(s(store.file));
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(typeOf(supportFile(aside[0])), mode_t(S_IFIFO));
    }
}
