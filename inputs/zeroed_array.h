// Storage for the shared arrays: allocated once, every entry zero, freed with the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "indices/work_storage.h"

namespace kova {

// The number of entries of an array whose extents are counts; a negative count is an
// extent of 0. Computed in 64 bits, so no product of two 32-bit counts can overflow.
std::int64_t ArrayEntries(std::int32_t rows, std::int32_t columns = 1);

// Ends the run with the allocation failure report.
[[noreturn]] void ReportAllocationFailure();

// Work storage the analysis cannot go on without: as TryObtainWorkStorage, but a failure
// ends the run with the allocation failure report.
template <typename Value>
std::unique_ptr<Value[]> ObtainWorkStorage(std::size_t rows, std::size_t columns) {
  std::unique_ptr<Value[]> storage = TryObtainWorkStorage<Value>(rows, columns);
  if (storage == nullptr) ReportAllocationFailure();
  return storage;
}

// Asks the system to back a large array with huge pages: a table of hundreds of MB is
// otherwise filled a 4 KiB page at a time, each first touch a page fault, and its faults
// cost more than reading the file that fills it. Only advice: the array is the same
// without it.
void AdviseHugePages(void* storage, std::size_t bytes);

template <typename T>
class ZeroedArray {
 public:
  ZeroedArray() = default;

  // Obtains `entries` zeroed entries (pages are zeroed lazily by the system, so nothing is
  // touched here). An empty array still owns one entry, so its first element always exists.
  explicit ZeroedArray(std::int64_t entries) : size_(entries) {
    const auto count = static_cast<std::size_t>(entries > 0 ? entries : 1);
    storage_.reset(static_cast<T*>(std::calloc(count, sizeof(T))));
    if (!storage_) ReportAllocationFailure();
    AdviseHugePages(storage_.get(), count * sizeof(T));
  }

  T* Data() { return storage_.get(); }
  const T* Data() const { return storage_.get(); }
  T& First() { return *storage_; }
  const T& First() const { return *storage_; }
  std::int64_t Size() const { return size_; }

  // One-based access, as the tables are numbered.
  T& operator()(std::int64_t index) { return storage_.get()[index - 1]; }
  const T& operator()(std::int64_t index) const { return storage_.get()[index - 1]; }

 private:
  struct Free {
    void operator()(T* pointer) const { std::free(pointer); }
  };
  std::unique_ptr<T, Free> storage_;
  std::int64_t size_ = 0;
};

}  // namespace kova
