// Checked arithmetic for fixed-width counters: an overflow throws, never wraps.
#pragma once

#include <concepts>

#include "common/Error.h"

namespace ravelin {

/// counter += amount, throwing OverflowError when the result leaves T's range.
template <std::integral T, std::integral U>
inline void CheckedAdd(T& counter, U amount) {
  T result;
  if (__builtin_add_overflow(counter, amount, &result)) throw OverflowError();
  counter = result;
}

/// counter -= amount, throwing OverflowError when the result leaves T's range.
template <std::integral T, std::integral U>
inline void CheckedSub(T& counter, U amount) {
  T result;
  if (__builtin_sub_overflow(counter, amount, &result)) throw OverflowError();
  counter = result;
}

/// counter += 1 with overflow checking.
template <std::integral T>
inline void CheckedInc(T& counter) {
  CheckedAdd(counter, 1);
}

}  // namespace ravelin
