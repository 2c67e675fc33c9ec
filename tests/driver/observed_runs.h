// A run with options in a test: in a scratch folder as the working folder, the console
// captured, and every outcome the observer hears kept.
#pragma once

#include <filesystem>
#include <vector>

#include "driver/analysis_main.h"
#include "tests/support/console_capture.h"

namespace kova::test_support {

struct ObservedRun {
  CapturedRun captured;
  std::vector<RunOutcome> outcomes;
};

// Runs `request` in `folder`, handing the analysis `observer` with its runCompleted also
// keeping the outcome.
ObservedRun RunObserved(const RunRequest& request, const std::filesystem::path& folder,
                        RunObserver observer, const AnalysisSettings& settings = {});

// A RunRequest of a table and its groups, with the seed and number of steps.
RunRequest Request(const std::filesystem::path& table, TableForm form,
                   const std::filesystem::path& groups, std::int32_t seed, std::int32_t steps);

}  // namespace kova::test_support
