// kova-cli: the analysis on standard input and output. The four answers are read a line at
// a time from standard input, prompts and records go to standard output, the stop text and
// error reports to standard error; "RESULTS.TXT" is written in the current directory.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "driver/analysis_main.h"
#include "textio/console.h"
#include "textio/run_endings.h"

namespace {

constexpr const char* kUsage =
    "usage: kova-cli < answers\n"
    "\n"
    "Asks for the data file, a random seed, the number of randomizations and the group\n"
    "file, one answer per line, and writes RESULTS.TXT in the current directory.\n"
    "Exit codes: 0 done, 1 missing input file or bad group number, 255 run-time error.\n";

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount > 1) {
    const bool help =
        std::strcmp(arguments[1], "--help") == 0 || std::strcmp(arguments[1], "-h") == 0;
    std::fputs(kUsage, help ? stdout : stderr);
    return help ? 0 : 2;
  }
  // A closed output pipe is a write failure the analysis reports, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Output to a file or a pipe goes out in blocks; a terminal sees every record at once.
  if (::isatty(STDOUT_FILENO) == 0) kova::InstallConsoleHooks(kova::BufferOutput(kova::Console()));
  // Ctrl+C, kill or a closed terminal end the run at its next step with whole files.
  kova::CatchInterruptions();
  kova::InstallConsoleHooks(kova::InterruptibleConsole(kova::Console()));
  kova::RunAnalysis();
}
