#include "tests/driver/observed_runs.h"

#include <utility>

namespace kova::test_support {

ObservedRun RunObserved(const RunRequest& request, const std::filesystem::path& folder,
                        RunObserver observer, const AnalysisSettings& settings) {
  ObservedRun run;
  observer.runCompleted = [&run,
                           heard = std::move(observer.runCompleted)](const RunOutcome& outcome) {
    if (heard) heard(outcome);
    run.outcomes.push_back(outcome);
  };
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  run.captured = RunCaptured([&] { RunAnalysis(request, settings, observer); });
  std::filesystem::current_path(previous);
  return run;
}

RunRequest Request(const std::filesystem::path& table, TableForm form,
                   const std::filesystem::path& groups, std::int32_t seed, std::int32_t steps) {
  RunRequest request;
  request.tableFile = table.string();
  request.tableForm = form;
  request.groupsFile = groups.string();
  request.randomSeed = seed;
  request.randomizationCount = steps;
  return request;
}

}  // namespace kova::test_support
