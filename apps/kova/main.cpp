// kova: the analysis in its window. The dialogue runs in the Input/Output window inside the
// frame; the transcript can be scrolled, copied, saved and printed, and the window stays
// until the user closes the frame. Once a run is complete, the "Results" menu shows and saves
// the picture of its randomization distributions.
#include "apps/kova/results_menu.h"
#include "apps/run_settings.h"
#include "driver/analysis_main.h"
#include "host/win/host_main.h"
#include "randomization/run_outcome.h"
#include "textio/console.h"

namespace {

// Set once at start; the analysis runs later, inside HostMain.
kova::AnalysisSettings settings;
kova::RunObserver observer;

[[noreturn]] void RunAnalysisWithSettings() {
  kova::RunAnalysis(settings, observer);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  kova::OpenMissingStandardStreams();
  settings = kova::ReadRunSettings();
  // Lives until the process ends, which happens inside HostMain.
  kova::window::ResultsMenu results;
  observer = results.Observer();
  return kova::win::HostMain(argumentCount, arguments, &RunAnalysisWithSettings);
}
