// kova-cli's options: with none, the answers come from standard input; with options, they
// name the files, the seed and the count, the files to write once the run completes, and
// whether the console shows the steps; every one is checked before the run starts.
#pragma once

#include <optional>

#include "apps/kova-cli/result_files.h"
#include "driver/checked_inputs.h"

namespace kova::cli {

struct CommandLine {
  // Set when the program ends here: after --help or --version (0), or after a fault in the
  // options (2), which has been reported on standard error.
  std::optional<int> exitCode;
  // The run the options ask for; empty for the dialogue.
  std::optional<RunRequest> request;
  // What the run writes besides "RESULTS.TXT" once it completes.
  ResultFiles resultFiles;
};

CommandLine ReadCommandLine(int argumentCount, const char* const* arguments);

}  // namespace kova::cli
