#include "app/shell/single_instance.h"

#include <QSignalSpy>
#include <QTemporaryDir>

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
