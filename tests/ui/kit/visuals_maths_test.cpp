#include "ui/kit/mirrored_waveform.h"
#include "ui/kit/motion.h"
#include "ui/kit/pulsing_dot.h"
#include "ui/kit/thinking_wave.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

double weight(int d, int bars)
{
    return 1 - 1.1 * d / bars;
}

TEST(MirroredWaveform, NewestLevelDrivesTheCentreAndOlderLevelsSpreadOutwardsLowerAndFainter)
{
    struct Case {
        const char* name;
        QList<double> levels;
        int bars;
        QList<double> heights;
    };
    const Case cases[] = {
        {.name = "silence", .levels = {}, .bars = 5, .heights = {3, 3, 3, 3, 3}},
        // Too few levels: the oldest repeats on the outer bars.
        // clang-format off
        {.name = "two levels", .levels = {0.1, 0.5}, .bars = 5, .heights = {weight(2, 5) * 2 + 3, weight(1, 5) * 2 + 3, 13, weight(1, 5) * 2 + 3, weight(2, 5) * 2 + 3}},
        // clang-format on
        // Even count: the centre is the right one of the middle pair, the row longer on the left.
        {.name = "even", .levels = {0, 0, 0, 1}, .bars = 4, .heights = {3, weight(1, 4) * 0 + 3, 23, 3}},
        {.name = "no bars", .levels = {1, 1}, .bars = 0, .heights = {}},
        {.name = "negative bars", .levels = {1}, .bars = -3, .heights = {}},
    };
    for (const Case& c : cases) {
        const QList<MirroredWaveform::Bar> bars = MirroredWaveform::barsFor(c.levels, c.bars);
        ASSERT_EQ(bars.size(), c.heights.size()) << c.name;
        for (qsizetype i = 0; i < bars.size(); ++i)
            EXPECT_NEAR(bars[i].height, c.heights[i], 1e-9) << c.name << " bar " << i;
    }
}

TEST(MirroredWaveform, OuterBarsAreFainterButNeverBelowTheFloor)
{
    const QList<MirroredWaveform::Bar> bars = MirroredWaveform::barsFor({}, 4);
    EXPECT_DOUBLE_EQ(bars[2].opacity, 1.0);
    // The first bar of an even row is the farthest: weight 0.45.
    EXPECT_NEAR(bars[0].opacity, 0.45 * 0.55 + 0.45, 1e-12);
    for (const int count : {1, 2, 7, 15, 24}) {
        for (const auto& bar : MirroredWaveform::barsFor({-5, 0.3, 1}, count)) {
            EXPECT_GE(bar.height, 3) << count;
            EXPECT_GE(bar.opacity, 0.6975 - 1e-12) << count;
        }
    }
}

TEST(MirroredWaveform, ALevelThatIsNotAFiniteNumberIsDrawnAsSilence)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const double bad : {nan, inf, -inf}) {
        const QList<double> levels{0.5, bad, 0.5, bad};
        const QList<MirroredWaveform::Bar> bars = MirroredWaveform::barsFor(levels, 7);
        for (qsizetype i = 0; i < bars.size(); ++i) {
            ASSERT_TRUE(std::isfinite(bars[i].height)) << bad << " bar " << i;
            ASSERT_TRUE(std::isfinite(bars[i].opacity)) << bad << " bar " << i;
        }
        // The centre reads the newest level (bad), the next ones the level before (0.5).
        EXPECT_DOUBLE_EQ(bars[3].height, 3) << bad;
        EXPECT_GT(bars[2].height, 3) << bad;
    }
}

TEST(ThinkingWave, BarsSwingBetweenThreeAndThirteenWithAWaveRunningAcrossTheRow)
{
    const double lag = 0.7 / 6.5;
    const double period = 2 * std::numbers::pi / 6.5;
    double lowest = 100;
    double highest = 0;
    for (int step = 0; step < 400; ++step) {
        const double t = 1000 + step * 0.005;
        for (int i = 0; i < 7; ++i) {
            const double h = ThinkingWave::barHeight(t, i);
            lowest = std::min(lowest, h);
            highest = std::max(highest, h);
            // Bar i + 1 shows what bar i showed one lag earlier.
            EXPECT_NEAR(ThinkingWave::barHeight(t, i + 1), ThinkingWave::barHeight(t - lag, i), 1e-9);
            EXPECT_NEAR(ThinkingWave::barHeight(t + period, i), h, 1e-9);
        }
    }
    EXPECT_NEAR(lowest, 3, 0.01);
    EXPECT_NEAR(highest, 13, 0.01);
    EXPECT_DOUBLE_EQ(ThinkingWave::waveSeconds(QDateTime(QDate(2001, 1, 1), QTime(0, 0, 1, 500), Qt::UTC)),
                     1.5);
}

TEST(PulsingDot, RingGrowsFromSmallAndVisibleToLargeAndGoneEveryPeriod)
{
    struct Case {
        qint64 ms;
        bool animated;
        double diameter;
        double opacity;
    };
    const Case cases[] = {
        {.ms = 0, .animated = true, .diameter = 7.7, .opacity = 1},
        {.ms = 1100, .animated = true, .diameter = 7.7, .opacity = 1},
        {.ms = 2 * 1100 + 1099, .animated = true, .diameter = 16.8, .opacity = 0},
        // Animations off: the end state at once.
        {.ms = 0, .animated = false, .diameter = 16.8, .opacity = 0},
        {.ms = 500, .animated = false, .diameter = 16.8, .opacity = 0},
    };
    for (const Case& c : cases) {
        const PulsingDot::Pulse pulse = PulsingDot::pulseAt(c.ms, c.animated);
        EXPECT_NEAR(pulse.diameter, c.diameter, 0.05) << c.ms << " " << c.animated;
        EXPECT_NEAR(pulse.opacity, c.opacity, 0.01) << c.ms << " " << c.animated;
    }
    double previous = 0;
    for (qint64 ms = 0; ms < 1100; ms += 50) {
        const double d = PulsingDot::pulseAt(ms, true).diameter;
        EXPECT_GT(d, previous) << ms;
        previous = d;
    }
}

TEST(Motion, MorphSpringSettlesAtOneWithASmallOvershootAndNoJumpAtTheEnd)
{
    EXPECT_DOUBLE_EQ(Motion::morph(0), 0);
    EXPECT_DOUBLE_EQ(Motion::morph(1), 1);
    double peak = 0;
    for (int i = 0; i <= 1000; ++i)
        peak = std::max(peak, Motion::morph(i / 1000.0));
    EXPECT_GT(peak, 1);
    EXPECT_LT(peak, 1.01);
    EXPECT_NEAR(Motion::morph(0.999), 1, 0.002);
    EXPECT_DOUBLE_EQ(Motion::easeOut(0), 0);
    EXPECT_DOUBLE_EQ(Motion::easeOut(1), 1);
    EXPECT_GT(Motion::easeOut(0.5), 0.6);
}

} // namespace
