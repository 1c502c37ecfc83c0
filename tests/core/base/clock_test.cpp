#include "core/base/system_clock.h"
#include "platform/fake/manual_clock.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

TEST(ManualClock, FiresDueTimersInOrderAndDropsThoseOfDestroyedContexts)
{
    ManualClock clock;
    QObject context;
    auto doomed = std::make_unique<QObject>();
    QStringList fired;
    clock.singleShot(300, &context, [&] { fired << QStringLiteral("b"); });
    clock.singleShot(100, &context, [&] { fired << QStringLiteral("a"); });
    clock.singleShot(200, doomed.get(), [&] { fired << QStringLiteral("doomed"); });
    const auto cancelled = clock.singleShot(150, &context, [&] { fired << QStringLiteral("cancelled"); });
    clock.cancel(cancelled);
    doomed.reset();

    clock.advance(299);
    EXPECT_EQ(fired, QStringList{QStringLiteral("a")});
    clock.advance(1);
    EXPECT_EQ(fired, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST(ManualClock, RepeatingTimerTicksEachIntervalAndCanCancelItself)
{
    ManualClock clock;
    QObject context;
    int ticks = 0;
    Clock::TimerId id = 0;
    id = clock.repeating(100, &context, [&] {
        if (++ticks == 3)
            clock.cancel(id);
    });
    clock.advance(1000);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(clock.elapsedMs(), 1000);
}

TEST(SystemClock, CancelledAndOrphanedTimersNeverFire)
{
    SystemClock clock;
    QObject context;
    auto doomed = std::make_unique<QObject>();
    QStringList fired;
    clock.singleShot(0, &context, [&] { fired << QStringLiteral("kept"); });
    clock.cancel(clock.singleShot(0, &context, [&] { fired << QStringLiteral("cancelled"); }));
    clock.singleShot(0, doomed.get(), [&] { fired << QStringLiteral("doomed"); });
    Clock::TimerId self = 0;
    self = clock.repeating(0, &context, [&] {
        fired << QStringLiteral("self");
        clock.cancel(self);
    });
    doomed.reset();
    // No event loop runs here, so deferred deletes never happen; only stopping keeps a timer quiet.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    fired.sort();
    EXPECT_EQ(fired, (QStringList{QStringLiteral("kept"), QStringLiteral("self")}));
}

namespace {

// What a test does to the handle of a 100 ms single shot (and a spare handle) before 1 s passes.
struct HandleCase {
    const char* name;
    std::function<void(Clock&, QObject&, Clock::Timer& shot, Clock::Timer& spare)> act;
    int fired;   // times the single shot fired
    int pending; // timers still waiting at 1 s
};

void PrintTo(const HandleCase& c, std::ostream* os)
{
    *os << c.name;
}

void noop() {}

class TimerHandle : public ::testing::TestWithParam<HandleCase> {};

TEST_P(TimerHandle, CancelsWhenItLetsGo)
{
    const HandleCase& c = GetParam();
    ManualClock clock;
    QObject context;
    int fired = 0;
    Clock::Timer spare = clock.every(400, &context, noop);
    {
        Clock::Timer shot = clock.after(100, &context, [&] { ++fired; });
        c.act(clock, context, shot, spare);
        clock.advance(1000);
        spare.reset();
        EXPECT_EQ(fired, c.fired);
        EXPECT_EQ(clock.pendingCount(), c.pending);
    }
    EXPECT_EQ(clock.pendingCount(), 0) << "a handle going out of scope cancels its timer";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, TimerHandle, ::testing::Values(
    HandleCase{"KeptFiresOnce",        [](Clock&, QObject&, Clock::Timer&, Clock::Timer&) {}, 1, 0},
    HandleCase{"Reset",                [](Clock&, QObject&, Clock::Timer& s, Clock::Timer&) { s.reset(); }, 0, 0},
    HandleCase{"Destroyed",            [](Clock&, QObject&, Clock::Timer& s, Clock::Timer&) { Clock::Timer gone = std::move(s); }, 0, 0},
    HandleCase{"MoveAssignedOver",     [](Clock& k, QObject& o, Clock::Timer& s, Clock::Timer&) { s = k.after(5000, &o, noop); }, 0, 1},
    HandleCase{"MovedIntoSpare",       [](Clock&, QObject&, Clock::Timer& s, Clock::Timer& spare) { spare = std::move(s); }, 1, 0},
    HandleCase{"SelfAssignedKeeps",    [](Clock&, QObject&, Clock::Timer& s, Clock::Timer&) { Clock::Timer& same = s; s = std::move(same); }, 1, 0},
    HandleCase{"ResetTwice",           [](Clock&, QObject&, Clock::Timer& s, Clock::Timer&) { s.reset(); s.reset(); }, 0, 0}),
    [](const ::testing::TestParamInfo<HandleCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(TimerHandle, RepeatingTimerStopsWhenItsCallbackResetsTheHandle)
{
    ManualClock clock;
    QObject context;
    int ticks = 0;
    Clock::Timer timer;
    timer = clock.every(100, &context, [&] {
        if (++ticks == 3)
            timer.reset();
    });
    clock.advance(1000);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer);
}

} // namespace
