#pragma once

#include "driver/run_request.h"
#include "randomization/analysis_settings.h"
#include "randomization/run_outcome.h"

namespace kova {

// The analysis from the first question to the stop. It never returns: it ends through the
// stop (exit code 0, or 1 when an input file is missing or a group number is out of range)
// or through the run-time error report (exit code -1). `settings`, which the program read at
// its start, choose how the steps are computed; `observer` hears of the run (run_outcome.h).
[[noreturn]] void RunAnalysis(const AnalysisSettings& settings = {},
                              const RunObserver& observer = {});

// The analysis of a run whose answers were given beforehand. Both files are read and checked,
// and the seed too, before anything is written: the first fault ends the run with one line on
// the error stream and exit code 2. A run that passes writes what the dialogue writes when
// the same answers are piped to it.
[[noreturn]] void RunAnalysis(const RunRequest& request, const AnalysisSettings& settings = {},
                              const RunObserver& observer = {});

}  // namespace kova
