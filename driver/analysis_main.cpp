#include "driver/analysis_main.h"

#include <new>

#include "inputs/analysis_data.h"
#include "driver/dialogue.h"
#include "driver/floating_point_mode.h"
#include "inputs/input_fault.h"
#include "driver/randomization_test.h"
#include "textio/console.h"
#include "textio/failures.h"
#include "textio/run_endings.h"

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

// Runs the analysis's steps to the stop. A text or buffer that cannot grow ends the run as
// arrays that cannot be had do, with the report of a failed allocation.
template <typename Steps>
[[noreturn]] void RunToTheStop(const Steps& steps) {
  try {
    steps();
  } catch (const std::bad_alloc&) {
    ReportRunTimeError(failure::kBufferAllocationFailed);
  }
  StopRun(" ");
}

}  // namespace

void RunAnalysis(const AnalysisSettings& settings, const RunObserver& observer) {
  RunToTheStop([&settings, &observer] {
    SetFloatingPointMode();
    AnalysisData& data = SharedData();
    RunDialogue(data, "kova-cli");
    RunRandomizationTest(data, settings, observer);
  });
}

// The mode is set before the files are read: their numbers are converted in it.
void RunAnalysis(const RunRequest& request, const AnalysisSettings& settings,
                 const RunObserver& observer) {
  RunToTheStop([&request, &settings, &observer] {
    SetFloatingPointMode();
    AnalysisData& data = SharedData();
    if (const auto fault = ReadRunInputs(request, data)) ReportInputFault(*fault, request.programName);
    RunAnsweredDialogue();
    RunRandomizationTest(data, settings, observer, request.consoleSteps, request.associations);
  });
}

}  // namespace kova
