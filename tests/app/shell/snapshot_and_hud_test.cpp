#include "app/shell/snapshot.h"
#include "app/shell/termination_signals.h"
#include "app/shell/update_progress_hud.h"
#include "platform/fake/manual_clock.h"
#include "temp_support_dir.h"
#include "ui/kit/scheme.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>

class SnapshotTest : public TempSupportDir {};

// How many different colours a grid of samples across the picture finds.
int sampledColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += std::max(1, image.height() / 24))
        for (int x = 0; x < image.width(); x += std::max(1, image.width() / 24))
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

TEST_F(SnapshotTest, WritesEveryScreenInBothSchemesAsAPictureOfItsSizeWithSomethingOnIt)
{
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("shots/nested"));
    const QList<Snapshot::Shot> shots = Snapshot::run(target);

    QStringList written;
    for (const Snapshot::Shot& shot : shots)
        written << shot.name;
    EXPECT_EQ(written, Snapshot::screenNames());
    for (const Snapshot::Shot& shot : shots) {
        SCOPED_TRACE(shot.name.toStdString());
        QImageReader reader(QDir(target).filePath(shot.name));
        EXPECT_EQ(reader.format(), QByteArray("png"));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), shot.size);
        EXPECT_GE(sampledColours(image), 3); // not one flat fill
        if (shot.name.startsWith(QLatin1String("main-"))) {
            EXPECT_EQ(shot.size, QSize(1000, 700));
        }
        if (shot.name.startsWith(QLatin1String("onboarding"))) {
            EXPECT_EQ(shot.size.width(), 640);
        }
    }
    // A compositor binding or the session's notices to show make the window taller.
    const auto height = [&](const char* name) {
        return QImage(QDir(target).filePath(QString::fromLatin1(name))).height();
    };
    EXPECT_GT(height("onboarding-binding.png"), height("onboarding.png"));
    EXPECT_GT(height("onboarding-wayland.png"), height("onboarding.png"));
    // Each window in both schemes: the dark picture is a different one.
    const QImage light(QDir(target).filePath(QStringLiteral("main-home.png")));
    const QImage dark(QDir(target).filePath(QStringLiteral("main-home-dark.png")));
    EXPECT_LT(qGray(dark.pixel(600, 650)), qGray(light.pixel(600, 650)));
    // The language menu is a window of its own: drawn open over the page, its chosen entry
    // highlighted.
    const QImage whistle(QDir(target).filePath(QStringLiteral("main-style-language.png")));
    const QRgb highlight = Scheme::light().color(QPalette::Highlight).rgb();
    int highlighted = 0;
    for (int y = whistle.height() / 2; y < whistle.height(); ++y) {
        for (int x = 0; x < whistle.width() / 2; ++x)
            highlighted += whistle.pixel(x, y) == highlight;
    }
    EXPECT_GT(highlighted, 1000);
    // A card narrower than its picture stands in the middle, its shadow with it: both side columns
    // show the backdrop.
    for (const char* name : {"overlay-saved-note.png", "overlay-translate-menu.png"}) {
        const QImage overlay(QDir(target).filePath(QString::fromLatin1(name)));
        const int middle = overlay.height() / 2;
        EXPECT_EQ(overlay.pixel(overlay.width() - 1, middle), overlay.pixel(0, middle)) << name;
        EXPECT_EQ(overlay.pixel(0, middle), QColor(58, 64, 78).rgb()) << name;
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
        // clang-format off
        {.name = "no parent", .parent = std::nullopt, .parentGoneAtMs = -1, .endsAtMs = UpdateProgressHud::kLongestMs},
        {.name = "parent stays", .parent = 4242, .parentGoneAtMs = -1, .endsAtMs = UpdateProgressHud::kLongestMs},
        {.name = "parent leaves", .parent = 4242, .parentGoneAtMs = 2500, .endsAtMs = 3000},
        // clang-format on
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
