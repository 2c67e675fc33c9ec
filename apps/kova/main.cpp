// kova: the analysis in its window. The dialogue runs in the Input/Output window inside the
// frame; the transcript can be scrolled, copied, saved and printed, and the window stays
// until the user closes the frame. With options (command_line_options.h) the answers come
// from the command line, checked as kova-cli checks them, and the files they ask for are
// written as kova-cli writes them. Once a run is complete, the "Results" menu shows and saves
// the picture of its randomization distributions and shows its species.
#include "apps/command_line_options.h"
#include "apps/kova/open_file_name.h"
#include "apps/kova/results_menu.h"
#include "apps/run_outputs.h"
#include "driver/analysis_main.h"
#include "driver/run_outcome.h"
#include "host/win/host_main.h"
#include "textio/console.h"
#include "textio/run_endings.h"

namespace {

// Lives until the process ends, which happens inside HostMain.
kova::window::ResultsMenu results;

void RunInWindow(int argumentCount, char** arguments) {
  const kova::cli::CommandLine commandLine =
      kova::cli::ReadCommandLine("kova", argumentCount, arguments);
  if (commandLine.exitCode) kova::EndRun(*commandLine.exitCode);
  if (!commandLine.request) {
    kova::window::AddOpenFileNameItem();
    kova::ObserveRuns(results.Observer());
    kova::RunAnalysis();
  }
  kova::ObserveRuns(
      kova::cli::BothObservers(results.Observer(), kova::cli::RunOutputsObserver(commandLine.outputs)));
  kova::RunAnalysis(*commandLine.request);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  kova::OpenMissingStandardStreams();
  return kova::win::HostMain(argumentCount, arguments, &RunInWindow);
}
