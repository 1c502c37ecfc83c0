#include "core/base/work_queue.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

namespace {

void drainEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

} // namespace

TEST(WorkQueue, JobsRunOneAtATimeInPostOrderOffTheCallingThread)
{
    WorkQueue queue;
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::atomic<bool> onCaller{false};
    QThread* caller = QThread::currentThread();
    for (int i = 0; i < 20; ++i) {
        queue.post([&, i] {
            if (running.fetch_add(1) != 0)
                overlapped = true;
            if (QThread::currentThread() == caller)
                onCaller = true;
            order.push_back(i);
            running.fetch_sub(1);
        });
    }
    queue.waitForIdle();
    ASSERT_EQ(order.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
    EXPECT_FALSE(overlapped);
    EXPECT_FALSE(onCaller);
}

// Without a live context the work still runs; only its result is dropped.
TEST(WorkQueue, ResultArrivesOnTheQueueThreadOnlyWhileTheContextLives)
{
    WorkQueue queue;
    auto kept = std::make_unique<QObject>();
    auto gone = std::make_unique<QObject>();
    QThread* deliveredOn = nullptr;
    int keptResult = 0;
    bool goneCalled = false;
    std::atomic<int> ran{0};
    queue.run<int>([] { return 42; }, kept.get(),
                   [&](int r) {
                       keptResult = r;
                       deliveredOn = QThread::currentThread();
                   });
    queue.run<int>([&] { return ++ran; }, gone.get(), [&](int) { goneCalled = true; });
    queue.run<int>([&] { return ++ran; }, nullptr, {});
    queue.waitForIdle();
    gone.reset();
    drainEvents();
    EXPECT_EQ(keptResult, 42);
    EXPECT_EQ(deliveredOn, QThread::currentThread());
    EXPECT_FALSE(goneCalled);
    EXPECT_EQ(ran.load(), 2);
}
