// kova: the analysis in its window. The dialogue runs in the Input/Output window inside the
// frame; the transcript can be scrolled, copied, saved and printed, and the window stays
// until the user closes the frame. With options (command_line_options.h) the answers come
// from the command line, checked as kova-cli checks them, and the files they ask for are
// written as kova-cli writes them (window_program.h). Once a run is complete, the "Results"
// menu shows its species and shows and saves the picture of its randomization distributions.
#include "apps/kova/window_program.h"
#include "apps/run_settings.h"
#include "host/win/host_main.h"
#include "textio/console.h"

int main(int argumentCount, char** arguments) {
  kova::OpenMissingStandardStreams();
  const kova::AnalysisSettings settings = kova::ReadRunSettings();
  return kova::win::HostMain(argumentCount, arguments, [&settings](int count, char** words) {
    kova::window::RunInWindow(settings, count, words);
  });
}
