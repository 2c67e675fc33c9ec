#include "inputs/zeroed_array.h"

#include <sys/mman.h>
#include <unistd.h>

#include "textio/failures.h"
#include "textio/run_endings.h"

namespace kova {

std::int64_t ArrayEntries(std::int32_t rows, std::int32_t columns) {
  const std::int64_t rowExtent = rows > 0 ? rows : 0;
  const std::int64_t columnExtent = columns > 0 ? columns : 0;
  return rowExtent * columnExtent;
}

void AdviseHugePages(void* storage, std::size_t bytes) {
  constexpr std::size_t kSmallest = std::size_t{4} << 20;  // smaller arrays fault little
  if (bytes < kSmallest) return;
  const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(storage);
  const std::uintptr_t first = (start + pageSize - 1) / pageSize * pageSize;
  const std::uintptr_t end = (start + bytes) / pageSize * pageSize;
  ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

void ReportAllocationFailure() {
  ReportRunTimeError(failure::kBufferAllocationFailed);
}

}  // namespace kova
