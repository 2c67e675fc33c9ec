// Work storage of the index kernels: obtained once on entry to a call, released on exit. A
// failure to obtain it is the caller's to report: nothing here ends the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace kova {

// An array of rows x columns values, not initialised: the kernels clear what they add to.
// Sizes are checked before anything is allocated, against the largest array an allocation
// can describe. Returns null when the storage cannot be obtained.
template <typename Value>
std::unique_ptr<Value[]> TryObtainWorkStorage(std::size_t rows, std::size_t columns) {
  std::size_t count = 0;
  if (__builtin_mul_overflow(rows, columns, &count) ||
      count >
          static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max()) / sizeof(Value)) {
    return nullptr;
  }
  return std::unique_ptr<Value[]>(new (std::nothrow) Value[count]);
}

}  // namespace kova
