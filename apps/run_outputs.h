// What a run with options adds to the console and "RESULTS.TXT" once it is complete: the
// per-species table, the community summary and the picture of the distributions as files, and
// the report of the indicator species on the console. They come from the run's outcome on the
// analysis thread, after the final table and before the stop; a run that ends early has none
// of them. Each file is written whole or not at all: a failure leaves an older file of its
// name as it was.
#pragma once

#include <string>

#include "randomization/run_outcome.h"

namespace kova::cli {

// The exit code of a run whose every other output is complete but one of these files could
// not be written.
constexpr int kResultFileExitCode = 3;

// The names of the files given (an empty name is not written) and the report asked for.
struct RunOutputs {
  std::string speciesTable;
  std::string summary;
  std::string plot;
  bool speciesReport = false;
  double alpha = 0.05;  // the largest p-value the species report lists
  std::string program = "kova-cli";  // as a file's fault names it
  bool Any() const {
    return !speciesTable.empty() || !summary.empty() || !plot.empty() || speciesReport;
  }
};

// The file a result file's name writes: the name itself, or where the links it names lead,
// even to a file that is not there yet.
std::string ResultFilePath(const std::string& name);

// What the run must keep for these outputs, and the making of them once it completes. A file
// that cannot be written is reported in one line on the error stream, the others are written
// all the same, and the run then ends with kResultFileExitCode.
RunObserver RunOutputsObserver(const RunOutputs& outputs);

// One observer that keeps what either keeps and hears the completed run as `first`, then as
// `second`.
RunObserver BothObservers(RunObserver first, RunObserver second);

}  // namespace kova::cli
