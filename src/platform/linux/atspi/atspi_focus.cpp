#include "platform/linux/atspi/atspi_focus.h"

#include "platform/linux/atspi/accessibility_bus.h"
#include "platform/linux/atspi/atspi_calls.h"
#include "platform/linux/atspi/atspi_thread.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <utility>

using namespace AtspiCalls;

namespace {

// Bounds of the walk that finds the focus when no focus event was seen.
constexpr int walkNodeLimit = 600;
constexpr int walkChildLimit = 200;

constexpr const char* focusEvents[] = {"object:state-changed:focused", "focus:"};

// The focused element below an active window, breadth-first through what is showing.
AtspiAccessible* focusedBelow(AtspiAccessible* window)
{
    std::deque<Owned<AtspiAccessible>> queue;
    queue.emplace_back(static_cast<AtspiAccessible*>(g_object_ref(window)));
    for (int visited = 0; !queue.empty() && visited < walkNodeLimit; ++visited) {
        Owned<AtspiAccessible> node = std::move(queue.front());
        queue.pop_front();
        if (hasState(node.get(), ATSPI_STATE_FOCUSED).value_or(false))
            return node.release();
        if (!hasState(node.get(), ATSPI_STATE_SHOWING).value_or(false) ||
            hasState(node.get(), ATSPI_STATE_MANAGES_DESCENDANTS).value_or(false))
            continue;
        const int count = std::min(childCount(node.get()), walkChildLimit);
        for (int i = 0; i < count; ++i) {
            if (AtspiAccessible* child = childAt(node.get(), i))
                queue.emplace_back(child);
        }
    }
    return nullptr;
}

bool ready()
{
    return AtspiThread::shared().ready();
}

} // namespace

void AtspiFocus::start()
{
    AccessibilityBus::enable();
    if (!ready())
        return;
    m_listener = atspi_event_listener_new(&AtspiFocus::onEvent, this, nullptr);
    for (const char* type : focusEvents)
        atspi_event_listener_register(m_listener, type, nullptr);
}

void AtspiFocus::stop()
{
    if (m_listener) {
        for (const char* type : focusEvents)
            atspi_event_listener_deregister(m_listener, type, nullptr);
        g_object_unref(m_listener);
        m_listener = nullptr;
    }
    setFocused(nullptr);
}

void AtspiFocus::setFocused(AtspiAccessible* accessible)
{
    if (m_focused)
        g_object_unref(m_focused);
    m_focused = accessible;
}

void AtspiFocus::onEvent(AtspiEvent* event, void* data)
{
    auto* self = static_cast<AtspiFocus*>(data);
    const bool stateChange = std::strcmp(event->type, focusEvents[0]) == 0;
    const bool gained = (stateChange && event->detail1 == 1) || std::strcmp(event->type, focusEvents[1]) == 0;
    if (gained && event->source)
        self->setFocused(static_cast<AtspiAccessible*>(g_object_ref(event->source)));
    else if (stateChange && event->source == self->m_focused)
        self->setFocused(nullptr);
    g_boxed_free(atspi_event_get_type(), event);
}

std::optional<AccessibleElement> AtspiFocus::focusedElement()
{
    if (!ready())
        return std::nullopt;
    if (m_focused && hasState(m_focused, ATSPI_STATE_FOCUSED).value_or(false))
        return adopt(static_cast<AtspiAccessible*>(g_object_ref(m_focused)));
    const Owned<AtspiAccessible> desktop(atspi_get_desktop(0));
    const int applications = childCount(desktop.get());
    for (int a = 0; a < applications; ++a) {
        const Owned<AtspiAccessible> application(childAt(desktop.get(), a));
        const int windows = application ? childCount(application.get()) : 0;
        for (int w = 0; w < windows; ++w) {
            const Owned<AtspiAccessible> window(childAt(application.get(), w));
            if (!window || !hasState(window.get(), ATSPI_STATE_ACTIVE).value_or(false))
                continue;
            if (AtspiAccessible* found = focusedBelow(window.get())) {
                setFocused(static_cast<AtspiAccessible*>(g_object_ref(found)));
                return adopt(found);
            }
        }
    }
    return std::nullopt;
}
