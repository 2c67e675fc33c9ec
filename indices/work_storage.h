// Work storage of the index kernels: obtained once on entry to a call, released on exit.
// A failure to obtain it ends the run with the run-time error "Buffer allocation failed".
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace kova {

// Ends the run through the run-time error report; never returns.
[[noreturn]] void ReportWorkStorageFailure();

// An array of rows x columns values, not initialised: the kernels clear what they add to.
// Sizes are checked in the width of std::size_t before anything is allocated.
template <typename Value>
std::unique_ptr<Value[]> ObtainWorkStorage(std::size_t rows, std::size_t columns) {
  std::size_t count = 0;
  if (__builtin_mul_overflow(rows, columns, &count) ||
      count > std::numeric_limits<std::size_t>::max() / sizeof(Value)) {
    ReportWorkStorageFailure();
  }
  std::unique_ptr<Value[]> storage;
  try {
    storage.reset(new Value[count]);
  } catch (const std::bad_alloc&) {
    // Reported outside the handler: the report ends the run and must not nest in it.
  }
  if (storage == nullptr) ReportWorkStorageFailure();
  return storage;
}

}  // namespace kova
