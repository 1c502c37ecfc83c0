#include "core/base/system_clock.h"
#include "platform/fake/manual_clock.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <memory>

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
