#include "driver/analysis_main.h"

#include "driver/analysis_data.h"
#include "driver/dialogue.h"
#include "driver/randomization_test.h"
#include "textio/stop_run.h"

namespace kova {

void RunAnalysis() {
  // The arrays live until the process ends.
  static AnalysisData data;
  data = AnalysisData{};
  RunDialogue(data);
  RunRandomizationTest(data);
  StopRun(" ");
}

}  // namespace kova
