#include "platform/linux/permission/pulse_source_watch.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/rtclock.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

#include <atomic>
#include <utility>

namespace {

} // namespace

// Everything but `count` belongs to PulseAudio's thread, or to a caller holding the loop's lock.
struct PulseSourceWatch::Private {
    QByteArray server;
    pa_usec_t retryUsec = 0;
    pa_threaded_mainloop* loop = nullptr;
    // The one pending try. A failed connect reports itself twice (its result and its state), and a
    // timer per report would double the tries at every round until the thread never rests.
    pa_time_event* retry = nullptr;
    std::atomic<int> attempts{0};
    pa_context* context = nullptr;
    std::atomic<int> count{-1};
    bool counting = false;
    bool countAgain = false;
    int tally = 0;

    void connect()
    {
        ++attempts;
        context = pa_context_new(pa_threaded_mainloop_get_api(loop), "Quenda");
        pa_context_set_state_callback(context, &Private::stateChanged, this);
        pa_context_set_subscribe_callback(context, &Private::sourcesChanged, this);
        // A desktop without a running server has no microphone to offer; never start one.
        if (pa_context_connect(context, server.isEmpty() ? nullptr : server.constData(),
                               PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            retryLater();
    }

    void disconnect()
    {
        if (!context)
            return;
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_set_subscribe_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
        counting = false;
        countAgain = false;
    }

    void retryLater()
    {
        count = -1;
        if (!retry)
            retry = pa_context_rttime_new(context, pa_rtclock_now() + retryUsec, &Private::reconnect, this);
    }

    // Lists may overlap when changes come fast; one list at a time keeps the tally whole.
    void recount()
    {
        if (counting) {
            countAgain = true;
            return;
        }
        pa_operation* operation = pa_context_get_source_info_list(context, &Private::sourceListed, this);
        if (!operation)
            return;
        counting = true;
        tally = 0;
        pa_operation_unref(operation);
    }

    static void stateChanged(pa_context* context, void* data)
    {
        auto* self = static_cast<Private*>(data);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            pa_operation_unref(pa_context_subscribe(context, PA_SUBSCRIPTION_MASK_SOURCE, nullptr, nullptr));
            self->recount();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            // The context is let go on the next try, not inside its own callback.
            self->retryLater();
            break;
        default:
            break;
        }
    }

    static void sourcesChanged(pa_context*, pa_subscription_event_type_t, uint32_t, void* data)
    {
        static_cast<Private*>(data)->recount();
    }

    static void sourceListed(pa_context*, const pa_source_info* info, int eol, void* data)
    {
        auto* self = static_cast<Private*>(data);
        if (eol == 0) {
            // Every output has a monitor source; counting those would report a microphone on
            // every machine with speakers.
            if (info->monitor_of_sink == PA_INVALID_INDEX)
                ++self->tally;
            return;
        }
        self->counting = false;
        if (eol > 0)
            self->count = self->tally;
        if (std::exchange(self->countAgain, false))
            self->recount();
    }

    static void reconnect(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* data)
    {
        api->time_free(event);
        auto* self = static_cast<Private*>(data);
        self->retry = nullptr;
        self->disconnect();
        self->connect();
    }
};

PulseSourceWatch::PulseSourceWatch(const QByteArray& server, int retryMs)
    : d(std::make_unique<Private>())
{
    d->server = server;
    d->retryUsec = static_cast<pa_usec_t>(retryMs) * PA_USEC_PER_MSEC;
    d->loop = pa_threaded_mainloop_new();
    if (!d->loop)
        return;
    pa_threaded_mainloop_set_name(d->loop, "quenda-pulse");
    pa_threaded_mainloop_lock(d->loop);
    d->connect();
    pa_threaded_mainloop_unlock(d->loop);
    pa_threaded_mainloop_start(d->loop);
}

PulseSourceWatch::~PulseSourceWatch()
{
    if (!d->loop)
        return;
    // Once the loop stands still no callback can start a new connection behind our back.
    pa_threaded_mainloop_stop(d->loop);
    d->disconnect();
    pa_threaded_mainloop_free(d->loop);
}

int PulseSourceWatch::microphones() const
{
    return d->count;
}

int PulseSourceWatch::connectionAttempts() const
{
    return d->attempts;
}
