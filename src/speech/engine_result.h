#pragma once

#include "engine_error.h"

#include <utility>
#include <variant>

// The value of a finished engine request, or why there is none.
template <typename T> class EngineResult final {
public:
    EngineResult(T value)
        : m_value(std::in_place_index<0>, std::move(value))
    {
    }
    EngineResult(EngineError error)
        : m_value(std::in_place_index<1>, std::move(error))
    {
    }

    bool ok() const { return m_value.index() == 0; }
    const T& value() const { return std::get<0>(m_value); }
    const EngineError& error() const { return std::get<1>(m_value); }

private:
    std::variant<T, EngineError> m_value;
};
