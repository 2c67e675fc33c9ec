// The files a run with options writes beside "RESULTS.TXT" once it is complete: the
// per-species table, the community summary and the picture of the distributions. They are
// written from the run's outcome on the analysis thread, after the final table and before the
// stop; a run that ends early writes none of them. Each is written whole or not at all: a
// failure leaves an older file of its name as it was.
#pragma once

#include <string>

#include "driver/run_outcome.h"

namespace kova::cli {

// The exit code of a run whose every other output is complete but one of these files could
// not be written.
constexpr int kResultFileExitCode = 3;

// The names given; an empty name is not written.
struct ResultFiles {
  std::string speciesTable;
  std::string summary;
  std::string plot;
  bool Any() const { return !speciesTable.empty() || !summary.empty() || !plot.empty(); }
};

// The file a result file's name writes: the name itself, or where the links it names lead,
// even to a file that is not there yet.
std::string ResultFilePath(const std::string& name);

// What the run must keep for these files, and the writing of them once it completes. A file
// that cannot be written is reported in one line on the error stream, the others are written
// all the same, and the run then ends with kResultFileExitCode.
RunObserver ResultFilesObserver(const ResultFiles& files);

}  // namespace kova::cli
