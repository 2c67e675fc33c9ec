#include "indices/work_storage.h"

#include "textio/failure_codes.h"
#include "textio/run_time_error.h"

namespace kova {

void ReportWorkStorageFailure() {
  ReportRunTimeError(failure::kBufferAllocationFailed);
}

}  // namespace kova
