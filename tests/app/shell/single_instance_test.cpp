#include "app/shell/single_instance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(SingleInstance, ASecondStartHandsOverAndTheFirstIsAskedToShowItself)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quenda.socket"));
    SingleInstance first(path);
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
    struct stat socket = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &socket), 0);
    EXPECT_EQ(socket.st_mode & 0077, 0u) << "other users could ask this program to show itself";
    QSignalSpy asked(&first, &SingleInstance::activationRequested);

    SingleInstance second(path);
    EXPECT_EQ(second.claim(), SingleInstance::Claim::HandedOver);
    EXPECT_TRUE(asked.wait(5000));
    EXPECT_EQ(asked.count(), 1);
}

TEST(SingleInstance, ASocketLeftByADeadProgramDoesNotStopTheNextStart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quenda.socket"));
    {
        QFile stale(path);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    SingleInstance start(path);
    EXPECT_EQ(start.claim(), SingleInstance::Claim::First);
    SingleInstance later(path);
    EXPECT_EQ(later.claim(), SingleInstance::Claim::HandedOver);
}

TEST(SingleInstance, HotkeyCommandsReachTheRunningProgramAndStartNothingWhereNoneRuns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quenda.socket"));
    EXPECT_FALSE(SingleInstance::sendHotkey(true, 7, path));
    EXPECT_FALSE(QFile::exists(path)) << "a command with nothing running must not become the program";

    SingleInstance running(path);
    ASSERT_EQ(running.claim(), SingleInstance::Claim::First);
    QSignalSpy commands(&running, &SingleInstance::hotkeyCommanded);
    QSignalSpy asked(&running, &SingleInstance::activationRequested);
    EXPECT_TRUE(SingleInstance::sendHotkey(true, 1234567890123, path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return commands.count() == 1; }, 5000));
    EXPECT_TRUE(SingleInstance::sendHotkey(false, 1234567890456, path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return commands.count() == 2; }, 5000));
    EXPECT_EQ(commands.at(0), QVariantList({true, qint64(1234567890123)}));
    EXPECT_EQ(commands.at(1), QVariantList({false, qint64(1234567890456)}));
    // A binding fires at every key press: it must never bring the window forward.
    EXPECT_EQ(asked.count(), 0);
}
