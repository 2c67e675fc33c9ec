// The options of a run: with none, the answers come from the console; with options, they
// name the files, the seed and the count, the files to write once the run completes, and
// whether the console shows the steps; every one is checked before the run starts. Each
// option is defined once, in one table that parsing, the help text and the checks all read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "apps/run_outputs.h"
#include "driver/run_request.h"

namespace kova::cli {

struct CommandLine {
  // Set when the program ends here: after --help or --version (0), or after a fault in the
  // options (2), which has been reported on standard error.
  std::optional<int> exitCode;
  // The run the options ask for; empty for the dialogue.
  std::optional<RunRequest> request;
  // What the run adds to the console and "RESULTS.TXT" once it completes.
  RunOutputs outputs;
};

// Reads the options of `program` (kova-cli, kova), as its faults and help name it.
CommandLine ReadCommandLine(std::string_view program, int argumentCount,
                            const char* const* arguments);

// The help text: how to run `program`, and every option with what it does.
std::string UsageText(std::string_view program);

}  // namespace kova::cli
