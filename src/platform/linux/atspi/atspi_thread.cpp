#include "platform/linux/atspi/atspi_thread.h"

#include "platform/accessibility.h"

#include <QtGlobal>

// GLib names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <atspi/atspi.h>
#pragma pop_macro("signals")

#include <dlfcn.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

namespace {

std::atomic<GMainContext*> g_threadContext{nullptr};
std::atomic<bool> g_connectionsMoved{false};

} // namespace

// libatspi attaches the connections it opens straight to applications (GTK and most toolkits
// offer one beside the accessibility bus) to the process's default GLib context, which Qt's main
// thread iterates: their replies would be handled there, inside libatspi, racing this thread. The
// library calls this function through its symbol table, so this definition takes the call and
// hands each connection to this thread's context before passing it on.
extern "C" void atspi_dbus_connection_setup_with_g_main(DBusConnection* connection, GMainContext* context)
{
    using Setup = void (*)(DBusConnection*, GMainContext*);
    static const auto library =
        reinterpret_cast<Setup>(dlsym(RTLD_NEXT, "atspi_dbus_connection_setup_with_g_main"));
    if (GMainContext* own = g_threadContext.load()) {
        context = own;
        g_connectionsMoved = true;
    }
    if (library)
        library(connection, context);
}

struct AtspiThread::State {
    GMainContext* context = nullptr;
    std::thread thread;
    std::mutex mutex;
    std::deque<std::function<void()>> jobs;
    bool drainScheduled = false;
    bool ready = false;
    bool connectionsOnThread = false;

    void start()
    {
        g_main_context_push_thread_default(context);
        g_threadContext = context;
        atspi_set_timeout(Accessibility::timeoutMs, -1);
        ready = atspi_init() == 0;
        if (ready) {
            // Events are handed out from an idle source on this context, not the default one.
            atspi_set_main_context(context);
            // The bus connection itself was set up through the hook during atspi_init.
            connectionsOnThread = g_connectionsMoved;
            if (!connectionsOnThread)
                qWarning("accessibility: libatspi's connections stay on the default GLib context");
        }
        GMainLoop* loop = g_main_loop_new(context, FALSE);
        g_main_loop_run(loop);
    }

    static gboolean drain(gpointer data)
    {
        auto* state = static_cast<State*>(data);
        for (;;) {
            std::function<void()> job;
            {
                const std::lock_guard lock(state->mutex);
                if (state->jobs.empty()) {
                    state->drainScheduled = false;
                    return G_SOURCE_REMOVE;
                }
                job = std::move(state->jobs.front());
                state->jobs.pop_front();
            }
            job();
        }
    }
};

AtspiThread& AtspiThread::shared()
{
    // Never destroyed: see the class comment.
    static AtspiThread* const thread = new AtspiThread;
    return *thread;
}

AtspiThread::AtspiThread()
    : m_state(std::make_unique<State>())
{
    m_state->context = g_main_context_new();
    m_state->thread = std::thread([state = m_state.get()] { state->start(); });
}

AtspiThread::~AtspiThread() = default;

void AtspiThread::post(std::function<void()> job)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->jobs.push_back(std::move(job));
    if (m_state->drainScheduled)
        return;
    m_state->drainScheduled = true;
    GSource* source = g_idle_source_new();
    // Default priority: a burst of events must not starve the callers.
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_callback(source, &State::drain, m_state.get(), nullptr);
    g_source_attach(source, m_state->context);
    g_source_unref(source);
}

bool AtspiThread::isCurrent() const
{
    return std::this_thread::get_id() == m_state->thread.get_id();
}

bool AtspiThread::ready() const
{
    return m_state->ready;
}

bool AtspiThread::connectionsOnThread() const
{
    return m_state->connectionsOnThread;
}
