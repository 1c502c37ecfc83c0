#pragma once

#include "apple_notes_failure.h"

#include <utility>
#include <variant>

// The value a Notes script delivered, or why it did not.
template <typename T> class AppleNotesResult final {
public:
    AppleNotesResult(T value)
        : m_result(std::move(value))
    {
    }
    AppleNotesResult(AppleNotesFailure failure)
        : m_result(std::move(failure))
    {
    }

    bool ok() const { return std::holds_alternative<T>(m_result); }
    // Only when ok().
    const T& value() const { return std::get<T>(m_result); }
    // Only when not ok().
    const AppleNotesFailure& failure() const { return std::get<AppleNotesFailure>(m_result); }

private:
    std::variant<T, AppleNotesFailure> m_result;
};
