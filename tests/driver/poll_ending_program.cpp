// The analysis on the standard streams with a Poll that ends the process at its n-th call,
// as the windowed program ends it when the user closes the frame during a run: the units are
// closed and the process leaves through _Exit, or, for a host that does, through std::exit.
// Usage: poll_ending_program _Exit|exit n < answers. Exit code 3 (_Exit) or 4 (exit).
#include <cstdlib>
#include <string>

#include "driver/analysis_main.h"
#include "textio/console.h"
#include "textio/units.h"

int main(int argumentCount, char** arguments) {
  if (argumentCount < 3) return 2;
  const bool quickExit = std::string(arguments[1]) == "_Exit";
  const long endingPoll = std::strtol(arguments[2], nullptr, 10);
  static long polls = 0;
  kova::ConsoleHooks hooks = kova::StandardStreamHooks();
  hooks.Poll = [quickExit, endingPoll] {
    if (++polls < endingPoll) return;
    kova::CloseAllUnits();
    if (quickExit) std::_Exit(3);
    std::exit(4);
  };
  kova::InstallConsoleHooks(hooks);
  kova::RunAnalysis();
}
