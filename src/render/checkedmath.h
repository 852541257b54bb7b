// SPDX-License-Identifier: MIT
#pragma once

// Integer arithmetic that fails instead of wrapping: every result that leaves its type's range
// throws OverflowError. Division truncates toward zero.

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <type_traits>

namespace pellimo::checked {

struct OverflowError : std::overflow_error {
    using std::overflow_error::overflow_error;
};

template <typename T> T add(T a, T b)
{
    T r;
    if (__builtin_add_overflow(a, b, &r))
        throw OverflowError("integer overflow in addition");
    return r;
}

template <typename T> T sub(T a, T b)
{
    T r;
    if (__builtin_sub_overflow(a, b, &r))
        throw OverflowError("integer overflow in subtraction");
    return r;
}

template <typename T> T mul(T a, T b)
{
    T r;
    if (__builtin_mul_overflow(a, b, &r))
        throw OverflowError("integer overflow in multiplication");
    return r;
}

template <typename T> T div(T a, T b)
{
    static_assert(std::is_signed_v<T>);
    if (b == 0 || (a == std::numeric_limits<T>::min() && b == -1))
        throw OverflowError("integer overflow in division");
    return static_cast<T>(a / b); // C++ division truncates toward zero
}

// Converts to a narrower type, failing when the value does not fit.
template <typename To, typename From> To narrow(From v)
{
    To r;
    if (__builtin_add_overflow(v, From{0}, &r))
        throw OverflowError("integer overflow in conversion");
    return r;
}

} // namespace pellimo::checked
