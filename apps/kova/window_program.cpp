#include "apps/kova/window_program.h"

#include "apps/command_line_options.h"
#include "apps/kova/open_file_name.h"
#include "apps/kova/results_menu.h"
#include "apps/run_outputs.h"
#include "driver/analysis_main.h"
#include "randomization/run_outcome.h"
#include "textio/run_endings.h"

namespace kova::window {

void RunInWindow(const AnalysisSettings& settings, int argumentCount, char** arguments) {
  const cli::CommandLine commandLine = cli::ReadCommandLine("kova", argumentCount, arguments);
  if (commandLine.exitCode) EndRun(*commandLine.exitCode);
  // Lives until the process ends, which the run brings about.
  static ResultsMenu results;
  if (!commandLine.request) {
    AddOpenFileNameItem();
    RunAnalysis(settings, results.Observer());
  }
  // The menu hears of the run before the outputs, whose species report is the last thing
  // the console shows before the stop.
  RunAnalysis(*commandLine.request, settings,
              cli::BothObservers(results.Observer(), cli::RunOutputsObserver(commandLine.outputs)));
}

}  // namespace kova::window
