#pragma once

#include "core/base/guarded_reply.h"

#include <QObject>
#include <QThreadPool>

#include <functional>
#include <utility>

// A serial worker for blocking work (Secret Service, accessibility, desktop-file scans): jobs run
// one after another on a thread of their own, in the order they were posted. A job's result comes
// back on the queue's own thread through a context object and is dropped when that object is gone,
// so a late answer never reaches a caller that went away.
class WorkQueue final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WorkQueue)

public:
    explicit WorkQueue(QObject* parent = nullptr);
    // Waits for the jobs already posted.
    ~WorkQueue() override;

    // Runs `job` on the worker; nothing comes back.
    void post(std::function<void()> job);

    // Runs `work` on the worker and `done(result)` on this queue's thread, unless `context` is
    // gone by then. `context` must live on this queue's thread; an empty `done` is allowed.
    template <typename Result>
    void run(std::function<Result()> work, QObject* context, std::function<void(Result)> done)
    {
        Q_ASSERT(!context || context->thread() == thread());
        GuardedReply<Result> reply(context, std::move(done));
        if (!reply.wanted()) {
            post([work = std::move(work)] { work(); });
            return;
        }
        // Hop through the queue, which outlives its jobs; the guard is read on its thread.
        post([this, work = std::move(work), reply = std::move(reply)] { reply.post(this, work()); });
    }

    // Blocks until every posted job has run (tests and shutdown only); replies still arrive
    // through the event loop.
    void waitForIdle();

private:
    QThreadPool m_pool;
};
