#pragma once

#include <type_traits>
#include <utility>
#include <variant>

namespace zuvo::model {

// The outcome of a synchronous reader: a value, or the typed error that
// explains why there is none. Built implicitly from either, so a reader can
// `return ImportError::notThisFormat;` as well as `return value;`.
template <typename T, typename E>
class Result {
    static_assert(!std::is_same_v<T, E>, "value and error types must differ");

public:
    Result(T value)
        : m_data(std::in_place_index<0>, std::move(value))
    {
    }
    Result(E error)
        : m_data(std::in_place_index<1>, std::move(error))
    {
    }

    bool hasValue() const { return m_data.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    // Asking for the value of an error (or the error of a value) is a
    // programming error and throws std::bad_variant_access.
    const T& value() const& { return std::get<0>(m_data); }
    T& value() & { return std::get<0>(m_data); }
    T&& value() && { return std::get<0>(std::move(m_data)); }
    const E& error() const { return std::get<1>(m_data); }

    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    const T* operator->() const { return &value(); }

    bool operator==(const Result&) const = default;

private:
    std::variant<T, E> m_data;
};

} // namespace zuvo::model
