#include "driver/analysis_main.h"

#include "driver/analysis_data.h"
#include "driver/dialogue.h"
#include "driver/floating_point_mode.h"
#include "driver/input_fault.h"
#include "driver/randomization_test.h"
#include "textio/console_hooks.h"
#include "textio/process_end.h"
#include "textio/stop_run.h"

namespace kova {
namespace {

void SetFloatingPointMode() {
  if (!SetAnalysisFloatingPointMode()) {
    WriteErrorText("? The processor refused the floating-point mode the analysis needs\n");
    EndRun(-1);
  }
}

// The arrays live until the process ends, and are never freed by its ending: worker threads
// may still read the abundance table while an exit runs the destructors of static objects.
AnalysisData& SharedData() {
  static AnalysisData& data = *new AnalysisData;
  data = AnalysisData{};
  return data;
}

}  // namespace

void RunAnalysis() {
  SetFloatingPointMode();
  AnalysisData& data = SharedData();
  RunDialogue(data);
  RunRandomizationTest(data);
  StopRun(" ");
}

// The mode is set before the files are read: their numbers are converted in it.
void RunAnalysis(const RunRequest& request) {
  SetFloatingPointMode();
  AnalysisData& data = SharedData();
  if (const auto fault = ReadCheckedInputs(request, data)) ReportInputFault(*fault);
  RunAnsweredDialogue();
  RunRandomizationTest(data);
  StopRun(" ");
}

}  // namespace kova
