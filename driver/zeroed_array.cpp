#include "driver/zeroed_array.h"

#include "textio/failures.h"
#include "textio/run_endings.h"

namespace kova {

std::int64_t ArrayEntries(std::int32_t rows, std::int32_t columns) {
  const std::int64_t rowExtent = rows > 0 ? rows : 0;
  const std::int64_t columnExtent = columns > 0 ? columns : 0;
  return rowExtent * columnExtent;
}

void ReportAllocationFailure() {
  ReportRunTimeError(failure::kBufferAllocationFailed);
}

}  // namespace kova
