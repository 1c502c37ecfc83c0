#include "app/shell/snapshot.h"
#include "app/shell/termination_signals.h"
#include "app/shell/update_progress_hud.h"
#include "platform/fake/manual_clock.h"
#include "temp_support_dir.h"

#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>

class SnapshotTest : public TempSupportDir {};

TEST_F(SnapshotTest, WritesOneNonEmptyPictureForEveryScreenAndNoUserFile)
{
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("shots/nested"));
    Snapshot::run(target);

    for (const QString& name : Snapshot::screenNames()) {
        const QImage image(QDir(target).filePath(name));
        EXPECT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_GT(image.width(), 100) << name.toStdString();
    }
    EXPECT_FALSE(QFile::exists(supportFile(QStringLiteral("config.json"))));
}

TEST_F(SnapshotTest, AnUnwritableFolderIsIgnored)
{
    QTemporaryDir out;
    QFile blocker(out.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    Snapshot::run(out.filePath(QStringLiteral("file/inside")));
    SUCCEED();
}

TEST(UpdateProgressHud, EndsWhenItsParentIsGoneAndAtTheLatestAfterTenMinutes)
{
    struct Row {
        const char* name;
        std::optional<qint32> parent;
        qint64 parentGoneAtMs; // -1: never
        qint64 endsAtMs;
    };
    const Row rows[] = {
        {.name = "no parent",
         .parent = std::nullopt,
         .parentGoneAtMs = -1,
         .endsAtMs = UpdateProgressHud::kLongestMs},
        {.name = "parent stays",
         .parent = 4242,
         .parentGoneAtMs = -1,
         .endsAtMs = UpdateProgressHud::kLongestMs},
        {.name = "parent leaves", .parent = 4242, .parentGoneAtMs = 2500, .endsAtMs = 3000},
    };
    for (const Row& row : rows) {
        ManualClock clock;
        qint64 now = 0;
        UpdateProgressHud hud(clock, QStringLiteral("2.0"), row.parent,
                              [&](qint32) { return row.parentGoneAtMs < 0 || now < row.parentGoneAtMs; });
        QSignalSpy finished(&hud, &UpdateProgressHud::finished);
        hud.start();
        while (finished.isEmpty() && now < 2 * UpdateProgressHud::kLongestMs) {
            now += 500;
            clock.advance(500);
        }
        EXPECT_EQ(now, row.endsAtMs) << row.name;
        EXPECT_EQ(finished.count(), 1) << row.name;
        EXPECT_FALSE(hud.panel()->isVisible()) << row.name;
    }
}

TEST(TerminationSignals, AHangupArrivesOnTheMainThreadAsASignal)
{
    TerminationSignals signals_;
    QSignalSpy received(&signals_, &TerminationSignals::received);
    ::raise(SIGHUP);
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.first().first().toInt(), SIGHUP);
}
