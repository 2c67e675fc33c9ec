#include "indices/work_storage.h"

#include "textio/failures.h"
#include "textio/run_endings.h"

namespace kova {

void ReportWorkStorageFailure() {
  ReportRunTimeError(failure::kBufferAllocationFailed);
}

}  // namespace kova
