#include "indices/work_storage.h"

#include "textio/failure_codes.h"
#include "textio/run_time_error.h"

namespace kova {

std::size_t Extent(std::int32_t count) {
  return count < 0 ? 0 : static_cast<std::size_t>(count);
}

void ReportWorkStorageFailure() {
  ReportRunTimeError(failure::kBufferAllocationFailed);
}

}  // namespace kova
