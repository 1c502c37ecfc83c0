#pragma once

#include "platform/accessibility.h"
#include "platform/linux/atspi/text_offsets.h"

#include <QString>

#pragma push_macro("signals")
#undef signals
#include <atspi/atspi.h>
#pragma pop_macro("signals")

#include <memory>
#include <optional>
#include <variant>

// Small wrappers around libatspi calls that the reads, the writes and the focus walk share. On the
// accessibility thread only.
namespace AtspiCalls {

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using Owned = std::unique_ptr<T, Unref>;

// Collects a GError out-parameter and frees it.
class Error final {
public:
    Error() = default;
    ~Error()
    {
        if (m_error)
            g_error_free(m_error);
    }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;

    GError** out() { return &m_error; }
    bool failed() const { return m_error != nullptr; }

private:
    GError* m_error = nullptr;
};

// Frees `raw`; none when the call failed.
std::optional<QString> takeString(gchar* raw, const Error& error);
// None when the states cannot be read: libatspi answers a failed read with an empty set.
std::optional<bool> hasState(AtspiAccessible* accessible, AtspiStateType state);
// The units the element's application counts text offsets in.
TextOffsets::Unit unitOf(AtspiAccessible* accessible);
std::optional<QString> readText(AtspiText* text, int start, int end);

// The selection, or the caret as an empty one, in the application's offsets.
struct AppRange {
    int start = 0;
    int end = 0;
};

std::optional<AppRange> appSelection(AtspiText* text);
// The application's offsets of a UTF-16 range; OutOfRange or Failed when there are none.
std::variant<AppRange, Accessibility::WriteOutcome> toApp(AtspiText* text, TextOffsets::Unit unit,
                                                          Accessibility::Range range);
Accessibility::Role roleFrom(AtspiRole role, AtspiAccessible* accessible);
// The name of the application the accessible belongs to; none when it cannot be read.
std::optional<QString> applicationName(AtspiAccessible* accessible);
// A new reference, or nullptr when the child cannot be read.
AtspiAccessible* childAt(AtspiAccessible* parent, int index);
int childCount(AtspiAccessible* parent);
// Takes over the reference; none for a null or defunct accessible.
std::optional<AccessibleElement> adopt(AtspiAccessible* accessible);

} // namespace AtspiCalls
