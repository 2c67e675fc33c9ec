// kova-cli: the analysis on standard input and output. Without options the four answers are
// read a line at a time from standard input; with options (command_line_options.h) they come
// from the command line. Prompts and records go to standard output, the stop text and error
// reports to standard error; "RESULTS.TXT" is written in the current directory, and the files
// the options ask for once the run is complete (run_outputs.h).
#include <unistd.h>

#include <csignal>

#include "apps/command_line_options.h"
#include "apps/kova-cli/progress_line.h"
#include "apps/run_outputs.h"
#include "apps/run_settings.h"
#include "driver/analysis_main.h"
#include "randomization/run_outcome.h"
#include "textio/console.h"
#include "textio/run_endings.h"

int main(int argumentCount, char** arguments) {
  kova::OpenMissingStandardStreams();
  const kova::cli::CommandLine commandLine = kova::cli::ReadCommandLine("kova-cli", argumentCount, arguments);
  if (commandLine.exitCode) return *commandLine.exitCode;
  const kova::AnalysisSettings settings = kova::ReadRunSettings();
  // A closed output pipe is a write failure the analysis reports, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Output to a file or a pipe goes out in blocks; a terminal sees every record at once.
  if (::isatty(STDOUT_FILENO) == 0) kova::InstallConsoleHooks(kova::BufferOutput(kova::Console()));
  // Ctrl+C, kill or a closed terminal end the run at its next step with whole files.
  kova::CatchInterruptions();
  kova::InstallConsoleHooks(kova::InterruptibleConsole(kova::Console()));
  if (!commandLine.request) kova::RunAnalysis(settings);

  kova::RunObserver observer = kova::cli::RunOutputsObserver(commandLine.outputs);
  // A quiet run on a terminal shows its progress in one line of the error stream. It lives
  // as long as the process.
  if (commandLine.request->consoleSteps == kova::ConsoleSteps::LeftOut &&
      ::isatty(STDERR_FILENO) != 0) {
    auto* progress = new kova::cli::ProgressLine(kova::Console());
    kova::InstallConsoleHooks(progress->Hooks());
    observer.stepReported = [progress](std::int64_t step, std::int64_t stepCount) {
      progress->Step(step, stepCount);
    };
  }
  kova::RunAnalysis(*commandLine.request, settings, observer);
}
