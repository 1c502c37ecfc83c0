#pragma once

#include <utility>
#include <variant>

// The value of a finished operation, or the error that stands in its place.
template <typename T, typename E> class Result final {
public:
    Result(T value)
        : m_value(std::in_place_index<0>, std::move(value))
    {
    }
    Result(E error)
        : m_value(std::in_place_index<1>, std::move(error))
    {
    }

    bool ok() const { return m_value.index() == 0; }
    // Only when ok().
    const T& value() const { return std::get<0>(m_value); }
    // Only when not ok().
    const E& error() const { return std::get<1>(m_value); }

private:
    std::variant<T, E> m_value;
};
