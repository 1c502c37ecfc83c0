#pragma once

#include "platform/accessible_element.h"

#include <optional>

typedef struct _AtspiAccessible AtspiAccessible;
typedef struct _AtspiEventListener AtspiEventListener;
typedef struct _AtspiEvent AtspiEvent;

// Where the keyboard focus is: follows the toolkits' focus events and, when none was seen, walks
// the active windows for a focused element. On the accessibility thread only.
class AtspiFocus final {
public:
    AtspiFocus() = default;
    AtspiFocus(const AtspiFocus&) = delete;
    AtspiFocus& operator=(const AtspiFocus&) = delete;

    // Turns the session's accessibility on and starts following focus events.
    void start();
    void stop();
    std::optional<AccessibleElement> focusedElement();

private:
    static void onEvent(AtspiEvent* event, void* data);
    void setFocused(AtspiAccessible* accessible);

    AtspiEventListener* m_listener = nullptr;
    AtspiAccessible* m_focused = nullptr; // from the last focus event
};
