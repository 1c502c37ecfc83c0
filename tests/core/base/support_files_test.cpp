#include "temp_support_dir.h"
#include "test_text.h"

#include "core/base/support_paths.h"
#include "core/base/timing.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

namespace {

class SupportFolder : public TempSupportDir {
protected:
    QString oldFolder() const { return QDir(root()).filePath(QStringLiteral("Quenda")); }
    QString newFolder() const { return QDir(root()).filePath(QStringLiteral("Morvane Quenda")); }
    void makeOldFolder()
    {
        writeAll(QDir(oldFolder()).filePath(QStringLiteral("config.json")), "{}");
        writeAll(QDir(oldFolder()).filePath(QStringLiteral("engine.version")), "1");
    }
};

} // namespace

TEST_F(SupportFolder, OldFolderMovesIntoAnEmptyOrDotOnlyNewFolder)
{
    makeOldFolder();
    writeAll(QDir(newFolder()).filePath(QStringLiteral(".hidden")), "x");
    SupportPaths::setDataRoot(root());
    EXPECT_EQ(SupportPaths::directory(), newFolder());
    EXPECT_TRUE(QFile::exists(QDir(newFolder()).filePath(QStringLiteral("config.json"))));
    EXPECT_FALSE(QFile::exists(QDir(newFolder()).filePath(QStringLiteral("engine.version"))));
    EXPECT_FALSE(QFile::exists(oldFolder()));
}

TEST_F(SupportFolder, OldFolderIsLeftAloneWhenTheNewOneHasContent)
{
    makeOldFolder();
    writeAll(QDir(newFolder()).filePath(QStringLiteral("history.json")), "[]");
    SupportPaths::setDataRoot(root());
    SupportPaths::directory();
    EXPECT_TRUE(QFile::exists(QDir(oldFolder()).filePath(QStringLiteral("engine.version"))));
    EXPECT_FALSE(QFile::exists(QDir(newFolder()).filePath(QStringLiteral("config.json"))));

    // A dangling link (say "models" on an unmounted disk) is content too, not to be removed.
    QFile::remove(QDir(newFolder()).filePath(QStringLiteral("history.json")));
    const QString link = QDir(newFolder()).filePath(QStringLiteral("models"));
    ASSERT_TRUE(QFile::link(QDir(root()).filePath(QStringLiteral("gone")), link));
    SupportPaths::setDataRoot(root());
    SupportPaths::directory();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFile::exists(oldFolder()));
}

TEST_F(SupportFolder, AnUntouchedFolderIsNeitherMovedNorCreated)
{
    makeOldFolder();
    SupportPaths::setUntouched(true);
    SupportPaths::setDataRoot(root());
    EXPECT_EQ(SupportPaths::directory(), newFolder());
    EXPECT_FALSE(QFile::exists(newFolder()));
    EXPECT_TRUE(QFile::exists(QDir(oldFolder()).filePath(QStringLiteral("engine.version"))));
}

TEST_F(SupportFolder, ModelsFolderIsCreatedOnUse)
{
    EXPECT_TRUE(QFileInfo(SupportPaths::models()).isDir());
}

TEST(TimingLine, HoldsTimeOfDayElapsedMillisecondsAndLabel)
{
    const QDateTime now(QDate(2025, 3, 1), QTime(14, 3, 7, 250));
    EXPECT_EQ(Timing::formatLine(now, now.addMSecs(-1234), s("engine replied")),
              s("14:03:07.250  +1234ms  engine replied\n"));
}

TEST_F(TempSupportDir, FirstMarkCreatesTheLogAndConcurrentMarksStayWholeLines)
{
    Timing::mark(s("first"));
    EXPECT_TRUE(logged().endsWith(s("ms  first\n"))) << logged().toStdString();

    constexpr int threads = 8;
    constexpr int perThread = 200;
    const QString label(300, QLatin1Char('x'));
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < perThread; ++i)
                Timing::mark(label);
        });
    for (auto& w : workers)
        w.join();

    const QStringList lines = logged().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + threads * perThread);
    for (const auto& line : lines.mid(1))
        ASSERT_TRUE(line.endsWith(s("ms  ") + label)) << line.toStdString();
}

TEST(TimingAtExit, MarksFromStaticDestructorsStillLand)
{
    // The child process re-runs this test from the top; the variable hands it the parent's folder.
    const char* const rootVariable = "QUENDA_TEST_EXIT_ROOT";
    std::optional<QTemporaryDir> dir;
    if (!qEnvironmentVariableIsSet(rootVariable)) {
        dir.emplace();
        qputenv(rootVariable, QFile::encodeName(dir->path()));
    }
    const QString root = qEnvironmentVariable(rootVariable);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // Made before the log's writer, so destroyed after it at exit.
            static struct Late {
                ~Late() { Timing::mark(s("from a static destructor")); }
            } late;
            SupportPaths::setDataRoot(root);
            Timing::mark(s("before exit"));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    qunsetenv(rootVariable);

    QFile log(QDir(root).filePath(s("Morvane Quenda/timing.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(s("ms  before exit")));
    EXPECT_TRUE(lines[1].endsWith(s("ms  from a static destructor")));
}
