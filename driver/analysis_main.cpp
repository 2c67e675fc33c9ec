#include "driver/analysis_main.h"

#include <new>

#include "driver/analysis_data.h"
#include "driver/dialogue.h"
#include "driver/floating_point_mode.h"
#include "driver/randomization_test.h"
#include "textio/console.h"
#include "textio/failures.h"
#include "textio/run_endings.h"

namespace kova {

void RunAnalysis() {
  try {
    if (!SetAnalysisFloatingPointMode()) {
      WriteErrorText("? The processor refused the floating-point mode the analysis needs\n");
      EndRun(-1);
    }
    // The arrays live until the process ends, and are never freed by its ending: worker
    // threads may still read the abundance table while an exit runs the destructors of
    // static objects.
    static AnalysisData& data = *new AnalysisData;
    data = AnalysisData{};
    RunDialogue(data);
    RunRandomizationTest(data);
  } catch (const std::bad_alloc&) {
    // A text or buffer that could not grow ends the run as arrays that cannot be had do.
    ReportRunTimeError(failure::kBufferAllocationFailed);
  }
  StopRun(" ");
}

}  // namespace kova
