#include "ui/shell/status_icon_art.h"
#include "ui/shell/status_icon_look.h"

#include <gtest/gtest.h>

namespace {

using Symbol = StatusIconLook::Symbol;

} // namespace

TEST(StatusIcon, ShowsBusyWhileWorkingTheBadgeOnlyOnTheWaveformAndTintsWhileListening)
{
    struct Row {
        const char* name;
        Phase phase;
        bool offered;
        bool dismissed;
        StatusIconLook look;
    };
    const QString plain = QStringLiteral("status.icon");
    const Row rows[] = {
        // clang-format off
        {.name = "idle", .phase = Phase::idle(), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = false, .tinted = false, .accessibilityKey = plain}},
        {.name = "idle with update", .phase = Phase::idle(), .offered = true, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = true, .tinted = false, .accessibilityKey = QStringLiteral("status.icon.update")}},
        {.name = "dismissed update", .phase = Phase::idle(), .offered = true, .dismissed = true, .look = {.symbol = Symbol::Waveform, .badge = false, .tinted = false, .accessibilityKey = plain}},
        {.name = "listening", .phase = Phase::listening(), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = false, .tinted = true, .accessibilityKey = QStringLiteral("status.icon.recording")}},
        {.name = "listening with update", .phase = Phase::listening(), .offered = true, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = true, .tinted = true, .accessibilityKey = QStringLiteral("status.icon.both")}},
        {.name = "transcribing hides the badge", .phase = Phase::transcribing(), .offered = true, .dismissed = false, .look = {.symbol = Symbol::Busy, .badge = false, .tinted = false, .accessibilityKey = plain}},
        {.name = "polishing", .phase = Phase::polishing(QStringLiteral("raw")), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Busy, .badge = false, .tinted = false, .accessibilityKey = plain}},
        {.name = "translating", .phase = Phase::translating(QStringLiteral("de")), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Busy, .badge = false, .tinted = false, .accessibilityKey = plain}},
        {.name = "done", .phase = Phase::done(QStringLiteral("t"), true), .offered = true, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = true, .tinted = false, .accessibilityKey = QStringLiteral("status.icon.update")}},
        {.name = "failed", .phase = Phase::failed(QStringLiteral("x")), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = false, .tinted = false, .accessibilityKey = plain}},
        // clang-format on
    };
    for (const Row& row : rows)
        EXPECT_EQ(StatusIconLook::of(row.phase, row.offered, row.dismissed), row.look) << row.name;
}

TEST(StatusIcon, IsWiderWithTheBadgeAndPaintsTheTintOnlyWhereTheSymbolIs)
{
    const StatusIconLook plain{
        .symbol = Symbol::Waveform, .badge = false, .tinted = false, .accessibilityKey = {}};
    const StatusIconLook badged{
        .symbol = Symbol::Waveform, .badge = true, .tinted = false, .accessibilityKey = {}};
    const StatusIconLook tinted{
        .symbol = Symbol::Waveform, .badge = false, .tinted = true, .accessibilityKey = {}};
    EXPECT_EQ(StatusIconArt::draw(plain).size(), QSize(18, 18));
    EXPECT_EQ(StatusIconArt::draw(badged).size(), QSize(24, 18));
    EXPECT_EQ(StatusIconArt::draw(badged, 2.0).size(), QSize(48, 36));

    const QImage image = StatusIconArt::draw(tinted);
    int tintedPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 0)
                continue;
            ++tintedPixels;
            EXPECT_GT(pixel.red(), pixel.blue()) << x << "," << y;
        }
    EXPECT_GT(tintedPixels, 20);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0)
        << "the corner stays clear: source-atop must not flood the image";
}
