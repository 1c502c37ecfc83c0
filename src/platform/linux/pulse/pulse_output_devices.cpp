#include "platform/linux/pulse/pulse_output_devices.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/rtclock.h>
#include <pulse/thread-mainloop.h>
#include <pulse/volume.h>

#include <cmath>
#include <optional>
#include <utility>

namespace {

using Error = OutputDevices::Error;
using Failure = OutputDevices::Failure;

Error failure(const QString& what, int code)
{
    return {Failure::Failed, what + QStringLiteral(": ") + QString::fromUtf8(pa_strerror(code))};
}

Error failure(const QString& what)
{
    return {Failure::Failed, what};
}

Error noSink(const QString& id)
{
    return {Failure::NoDevice, QStringLiteral("no sink named ") + id};
}

Error answerError(const QString& id, int code)
{
    return code == PA_ERR_NOENTITY ? noSink(id) : failure(id, code);
}

std::optional<pa_volume_t> toVolume(double volume)
{
    if (!std::isfinite(volume) || volume < 0)
        return std::nullopt;
    const double raw = std::round(volume * PA_VOLUME_NORM);
    return raw >= PA_VOLUME_MAX ? PA_VOLUME_MAX : static_cast<pa_volume_t>(raw);
}

class LoopLock final {
public:
    explicit LoopLock(pa_threaded_mainloop* loop)
        : m_loop(loop)
    {
        pa_threaded_mainloop_lock(m_loop);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    Q_DISABLE_COPY_MOVE(LoopLock)

private:
    pa_threaded_mainloop* m_loop;
};

void wakeLoop(pa_threaded_mainloop* loop)
{
    pa_threaded_mainloop_signal(loop, 0);
}

// Wakes the waiting caller at the end of its time, so a server that stops answering (hung,
// or a socket nobody serves) cannot hold a call. Created and destroyed with the loop locked.
class Deadline final {
public:
    Deadline(pa_threaded_mainloop* loop, pa_context* context, std::chrono::milliseconds timeout)
        : m_loop(loop)
        , m_api(pa_threaded_mainloop_get_api(loop))
    {
        const auto usec = std::chrono::duration_cast<std::chrono::microseconds>(timeout).count();
        m_event =
            pa_context_rttime_new(context, pa_rtclock_now() + static_cast<pa_usec_t>(usec), &fire, this);
    }
    ~Deadline()
    {
        if (m_event)
            m_api->time_free(m_event);
    }
    Q_DISABLE_COPY_MOVE(Deadline)

    bool passed() const { return m_passed || !m_event; }

private:
    static void fire(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data)
    {
        auto* self = static_cast<Deadline*>(data);
        self->m_passed = true;
        wakeLoop(self->m_loop);
    }

    pa_threaded_mainloop* m_loop;
    pa_mainloop_api* m_api;
    pa_time_event* m_event = nullptr;
    bool m_passed = false;
};

struct Sink {
    OutputDevices::Device device;
    pa_cvolume volume{};
};

struct SinkAnswer {
    QList<Sink> sinks;
    int error = 0;
};

void collectSink(pa_context* context, const pa_sink_info* info, int eol, void* data)
{
    auto* answer = static_cast<SinkAnswer*>(data);
    if (eol < 0) {
        answer->error = pa_context_errno(context);
        return;
    }
    if (eol > 0 || !info)
        return;
    Sink sink;
    sink.device.id = QString::fromUtf8(info->name);
    // PulseAudio mutes and scales every sink in software where the hardware cannot, so both
    // controls always exist.
    sink.device.hasMute = true;
    sink.device.muted = info->mute != 0;
    if (pa_cvolume_valid(&info->volume)) {
        sink.volume = info->volume;
        sink.device.volume = static_cast<double>(pa_cvolume_max(&info->volume)) / PA_VOLUME_NORM;
    }
    answer->sinks.append(sink);
}

struct SetAnswer {
    bool success = false;
    int error = 0;
};

void collectSuccess(pa_context* context, int success, void* data)
{
    auto* answer = static_cast<SetAnswer*>(data);
    answer->success = success != 0;
    if (!success)
        answer->error = pa_context_errno(context);
}

} // namespace

// The main loop thread and the one context. Every member function expects the loop locked.
class PulseOutputDevices::Connection final {
public:
    explicit Connection(Options options)
        : m_options(std::move(options))
        , m_loop(pa_threaded_mainloop_new())
    {
        if (!m_loop)
            return;
        pa_threaded_mainloop_set_name(m_loop, "quenda-pulse");
        m_running = pa_threaded_mainloop_start(m_loop) == 0;
    }

    ~Connection()
    {
        if (!m_loop)
            return;
        {
            LoopLock lock(m_loop);
            drop();
        }
        if (m_running)
            pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }
    Q_DISABLE_COPY_MOVE(Connection)

    // Runs call(deadline) on a ready connection within the time of one call.
    template <typename T, typename Call> Result<T, Error> run(Call call)
    {
        if (!m_running)
            return failure(QStringLiteral("no PulseAudio main loop"));
        LoopLock lock(m_loop);
        std::optional<Deadline> deadline;
        for (int attempt = 0;; ++attempt) {
            // A failed or terminated context never recovers; after a server restart only a new
            // one reaches the new server.
            if (m_context && !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)))
                drop();
            if (!m_context && !connect())
                return failure(QStringLiteral("no PulseAudio context"));
            if (!deadline)
                deadline.emplace(m_loop, m_context, m_options.timeout);
            if (auto error = waitReady(*deadline))
                return *error;
            Result<T, Error> result = call(*deadline);
            // The server may have gone between calls without the loop having noticed yet; the
            // call is tried once more on a new connection, which is safe as every call here
            // sets absolute values or only reads.
            if (result.ok() || attempt > 0 || deadline->passed() ||
                PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)))
                return result;
        }
    }

    // Waits for op to finish; an error when it did not (timeout, or the connection was lost).
    std::optional<Error> finish(pa_operation* op, const Deadline& deadline, const QString& what)
    {
        if (!op)
            return failure(what, pa_context_errno(m_context));
        pa_operation_set_state_callback(
            op, [](pa_operation*, void* loop) { wakeLoop(static_cast<pa_threaded_mainloop*>(loop)); },
            m_loop);
        while (pa_operation_get_state(op) == PA_OPERATION_RUNNING && !deadline.passed())
            pa_threaded_mainloop_wait(m_loop);
        const pa_operation_state_t state = pa_operation_get_state(op);
        // Cancelled, the operation never calls back into the caller's answer on the stack.
        if (state == PA_OPERATION_RUNNING)
            pa_operation_cancel(op);
        pa_operation_unref(op);
        if (state == PA_OPERATION_DONE)
            return std::nullopt;
        if (state == PA_OPERATION_RUNNING)
            return failure(what + QStringLiteral(": the sound server did not answer in time"));
        return failure(what + QStringLiteral(": the connection to the sound server was lost"));
    }

    Result<Sink, Error> sink(const QString& id, const Deadline& deadline)
    {
        if (id.isEmpty())
            return noSink(id);
        SinkAnswer answer;
        const QByteArray name = id.toUtf8();
        pa_operation* op =
            pa_context_get_sink_info_by_name(m_context, name.constData(), &collectSink, &answer);
        if (auto error = finish(op, deadline, id))
            return *error;
        if (answer.error)
            return answerError(id, answer.error);
        if (answer.sinks.isEmpty())
            return noSink(id);
        return answer.sinks.first();
    }

    // Sends a change to the sink `id`, made by send(name, answer), and waits for the server to take it.
    template <typename Send>
    OutputDevices::Done change(const QString& id, const Deadline& deadline, Send send)
    {
        SetAnswer answer;
        const QByteArray name = id.toUtf8();
        if (auto error = finish(send(name.constData(), &answer), deadline, id))
            return *error;
        if (!answer.success)
            return answerError(id, answer.error);
        return std::monostate{};
    }

    pa_context* context() const { return m_context; }

private:
    bool connect()
    {
        const QByteArray name = m_options.applicationName.toUtf8();
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), name.constData());
        if (!m_context)
            return false;
        pa_context_set_state_callback(
            m_context, [](pa_context*, void* loop) { wakeLoop(static_cast<pa_threaded_mainloop*>(loop)); },
            m_loop);
        const QByteArray server = m_options.server.toUtf8();
        // Starting a sound server is the desktop session's business, never a dictation tool's.
        // A synchronous failure leaves the context failed, which waitReady reports.
        pa_context_connect(m_context, server.isEmpty() ? nullptr : server.constData(), PA_CONTEXT_NOAUTOSPAWN,
                           nullptr);
        return true;
    }

    std::optional<Error> waitReady(const Deadline& deadline)
    {
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(m_context);
            if (state == PA_CONTEXT_READY)
                return std::nullopt;
            if (!PA_CONTEXT_IS_GOOD(state)) {
                const int code = pa_context_errno(m_context);
                drop();
                return failure(QStringLiteral("cannot connect to the sound server"), code);
            }
            if (deadline.passed()) {
                // Half-made connections are not kept: the next call starts afresh.
                drop();
                return failure(QStringLiteral("the sound server did not answer in time"));
            }
            pa_threaded_mainloop_wait(m_loop);
        }
    }

    void drop()
    {
        if (!m_context)
            return;
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }

    Options m_options;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    bool m_running = false;
};

PulseOutputDevices::PulseOutputDevices()
    : PulseOutputDevices(Options{})
{
}

PulseOutputDevices::PulseOutputDevices(Options options)
    : m_connection(std::make_unique<Connection>(std::move(options)))
{
}

PulseOutputDevices::~PulseOutputDevices() = default;

Result<QList<OutputDevices::Device>, OutputDevices::Error> PulseOutputDevices::devices()
{
    auto& c = *m_connection;
    return c.run<QList<Device>>([&](const auto& deadline) -> Result<QList<Device>, Error> {
        SinkAnswer answer;
        pa_operation* op = pa_context_get_sink_info_list(c.context(), &collectSink, &answer);
        if (auto error = c.finish(op, deadline, QStringLiteral("listing sinks")))
            return *error;
        if (answer.error)
            return failure(QStringLiteral("listing sinks"), answer.error);
        QList<Device> devices;
        devices.reserve(answer.sinks.size());
        for (const auto& sink : answer.sinks)
            devices.append(sink.device);
        return devices;
    });
}

Result<bool, OutputDevices::Error> PulseOutputDevices::mute(const QString& id)
{
    auto& c = *m_connection;
    return c.run<bool>([&](const auto& deadline) -> Result<bool, Error> {
        const auto sink = c.sink(id, deadline);
        if (!sink.ok())
            return sink.error();
        return *sink.value().device.muted;
    });
}

Result<double, OutputDevices::Error> PulseOutputDevices::volume(const QString& id)
{
    auto& c = *m_connection;
    return c.run<double>([&](const auto& deadline) -> Result<double, Error> {
        const auto sink = c.sink(id, deadline);
        if (!sink.ok())
            return sink.error();
        if (!sink.value().device.volume)
            return Error{Failure::NoControl, id + QStringLiteral(": no valid volume")};
        return *sink.value().device.volume;
    });
}

OutputDevices::Done PulseOutputDevices::setMute(const QString& id, bool muted)
{
    auto& c = *m_connection;
    return c.run<std::monostate>([&](const auto& deadline) -> Done {
        if (id.isEmpty())
            return noSink(id);
        return c.change(id, deadline, [&](const char* name, SetAnswer* answer) {
            return pa_context_set_sink_mute_by_name(c.context(), name, muted ? 1 : 0, &collectSuccess,
                                                    answer);
        });
    });
}

OutputDevices::Done PulseOutputDevices::setVolume(const QString& id, double volume)
{
    const auto target = toVolume(volume);
    if (!target)
        return failure(id + QStringLiteral(": not a volume: ") + QString::number(volume));
    auto& c = *m_connection;
    return c.run<std::monostate>([&](const auto& deadline) -> Done {
        const auto sink = c.sink(id, deadline);
        if (!sink.ok())
            return sink.error();
        pa_cvolume channels = sink.value().volume;
        if (!pa_cvolume_valid(&channels))
            return Error{Failure::NoControl, id + QStringLiteral(": no valid volume")};
        // Scaling keeps the ratio between channels, so the user's balance survives.
        pa_cvolume_scale(&channels, *target);
        return c.change(id, deadline, [&](const char* name, SetAnswer* answer) {
            return pa_context_set_sink_volume_by_name(c.context(), name, &channels, &collectSuccess, answer);
        });
    });
}
