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
// Sizes are checked before anything is allocated, against the largest array an allocation
// can describe. Returns null when the storage cannot be obtained; nothing is reported.
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

// As TryObtainWorkStorage, but a failure ends the run with the report.
template <typename Value>
std::unique_ptr<Value[]> ObtainWorkStorage(std::size_t rows, std::size_t columns) {
  std::unique_ptr<Value[]> storage = TryObtainWorkStorage<Value>(rows, columns);
  if (storage == nullptr) ReportWorkStorageFailure();
  return storage;
}

}  // namespace kova
