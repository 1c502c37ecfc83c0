#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <functional>
#include <type_traits>
#include <utility>

// An answer that reaches its caller only while the caller lives: `context` is watched, never
// owned, and must be read on its own thread. An empty `done` is a caller that wants no answer.
template <typename... Args> class GuardedReply final {
public:
    GuardedReply() = default;
    GuardedReply(QObject* context, std::function<void(Args...)> done)
        : m_context(context)
        , m_done(std::move(done))
    {
    }

    // The caller, or null once it is gone.
    QObject* context() const { return m_context.data(); }
    // Whether an answer would still reach the caller.
    bool wanted() const { return m_context && m_done; }

    void operator()(Args... args) const
    {
        if (wanted())
            m_done(std::forward<Args>(args)...);
    }

    // Answers later from `hop`'s event loop, where the guard is read: `hop` lives on the caller's
    // thread and outlives the wait. Safe to call from any thread.
    template <typename... Values> void post(QObject* hop, Values&&... values) const
    {
        QMetaObject::invokeMethod(
            hop,
            [reply = *this, ... values = std::decay_t<Values>(std::forward<Values>(values))]() mutable {
                reply(std::move(values)...);
            },
            Qt::QueuedConnection);
    }

private:
    QPointer<QObject> m_context;
    std::function<void(Args...)> m_done;
};
