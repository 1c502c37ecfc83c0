#pragma once

#include <functional>
#include <future>
#include <memory>
#include <utility>

// The one thread on which this process talks to libatspi. libatspi is not thread-safe and keeps a
// process-wide connection tied to one GLib main context: this thread owns that context, runs its
// loop (which also delivers accessibility events) and runs every job, one after another. It cannot
// be shut down and started again (libatspi cannot be initialised twice), so it lives as long as
// the process and every backend instance shares it.
class AtspiThread final {
public:
    static AtspiThread& shared();

    AtspiThread(const AtspiThread&) = delete;
    AtspiThread& operator=(const AtspiThread&) = delete;

    // Runs `job` on the thread after the jobs posted before it.
    void post(std::function<void()> job);

    // Runs `job` on the thread and waits for its result; runs it at once when already there.
    template <typename Result> Result call(std::function<Result()> job)
    {
        if (isCurrent())
            return job();
        std::promise<Result> promise;
        std::future<Result> future = promise.get_future();
        post([&promise, &job] { promise.set_value(job()); });
        return future.get();
    }

    bool isCurrent() const;
    // Whether libatspi reached the accessibility bus; read on the thread only. When it did not,
    // no other libatspi call may be made (libatspi aborts the process on a missing bus).
    bool ready() const;
    // Whether libatspi's connections, those to applications included, are served by this thread's
    // context (see the .cpp); read on the thread only.
    bool connectionsOnThread() const;

private:
    struct State;

    AtspiThread();
    ~AtspiThread();

    std::unique_ptr<State> m_state;
};
