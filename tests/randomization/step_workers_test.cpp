// Steps computed on worker threads: the same summaries, groupings and seed for every number
// of threads, the console kept live while the analysis thread waits, and an ending inside
// Poll that leaves no worker behind.
#include <gtest/gtest.h>

#include <unistd.h>

#include <bit>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "randomization/step_workers.h"
#include "tests/indices/index_problem.h"
#include "textio/console.h"

namespace kova {
namespace {

// A random table with its observed grouping, as the dialogue leaves it.
void GenerateRun(AnalysisData& data, std::int32_t species, std::int32_t sites, std::int32_t groups,
                 std::int32_t seed) {
  const test_support::IndexProblem problem =
      test_support::RandomProblem(7, species, sites, groups, false);
  data = AnalysisData{};
  data.speciesCount = species;
  data.siteCount = sites;
  data.groupCount = groups;
  AllocateArrays(data);
  std::copy(problem.abundances.begin(), problem.abundances.end(), data.abundanceMatrix.Data());
  std::copy(problem.siteGroups.begin(), problem.siteGroups.end(), data.siteGroups.Data());
  data.randomSeed = seed;
}

// Everything a run's steps leave behind: every summary's bits, the last grouping and seed.
struct StepsRecord {
  std::vector<std::uint32_t> bits;
  std::vector<std::int32_t> siteGroups;
  std::int32_t randomSeed = 0;
  bool operator==(const StepsRecord&) const = default;
};

StepsRecord RunSteps(AnalysisData& data, std::int64_t stepCount, int threads,
                     std::size_t groupingsPerPass = 1) {
  AnalysisSettings settings;
  settings.groupingsPerPass = groupingsPerPass;
  const StepConstants constants(data, settings);
  StepWorkers steps(data, constants, stepCount, threads);
  StepsRecord record;
  for (std::int64_t step = 1; step <= stepCount; ++step) {
    for (const StepSummary& summary : steps.Summaries(step)) {
      record.bits.push_back(std::bit_cast<std::uint32_t>(summary.stepSum));
      record.bits.push_back(static_cast<std::uint32_t>(summary.topSpecies));
      record.bits.push_back(std::bit_cast<std::uint32_t>(summary.topContribution));
    }
  }
  record.siteGroups.assign(data.siteGroups.Data(), data.siteGroups.Data() + data.siteCount);
  record.randomSeed = data.randomSeed;
  return record;
}

TEST(StepWorkers, EveryThreadCountAndGroupingsAPassGiveTheSameSteps) {
  struct Case {
    std::int32_t species, sites, groups;
    std::int64_t steps;
  };
  // More steps than the window, fewer steps than threads, a single step, no species.
  const Case cases[] = {{300, 200, 5, 41}, {40, 25, 3, 2}, {120, 60, 4, 1}, {0, 30, 3, 9}};
  for (const Case& c : cases) {
    AnalysisData data;
    GenerateRun(data, c.species, c.sites, c.groups, 12345);
    const StepsRecord single = RunSteps(data, c.steps, 1);
    EXPECT_EQ(single.bits.size(), static_cast<std::size_t>(c.steps * 15));
    for (const int threads : {1, 2, 3, 8}) {
      for (const std::size_t groupings : {1, 2, 4}) {
        if (threads == 1 && groupings == 1) continue;
        GenerateRun(data, c.species, c.sites, c.groups, 12345);
        EXPECT_TRUE(RunSteps(data, c.steps, threads, groupings) == single)
            << c.species << "x" << c.sites << "x" << c.groups << ", " << c.steps << " steps, "
            << threads << " threads, " << groupings << " groupings a pass";
      }
    }
  }
}

TEST(StepWorkers, ComputesOnWorkersOnlyWhenThereIsMoreThanOneStepAndThread) {
  AnalysisData data;
  GenerateRun(data, 50, 20, 3, 1);
  const StepConstants constants(data);
  struct Case {
    std::int64_t steps;
    int threads;
    int workers;
  };
  const Case cases[] = {{10, 1, 0}, {1, 8, 0}, {2, 8, 2}, {10, 3, 3}, {0, 4, 0}};
  for (const Case& c : cases) {
    const StepWorkers steps(data, constants, c.steps, c.threads);
    EXPECT_EQ(steps.WorkerCount(), c.workers) << c.steps << " steps, " << c.threads << " threads";
    EXPECT_GT(steps.WorkStorageBytes(), 0U);
  }
}

// Installs console hooks for the life of the object whose Poll runs `poll`.
class PollingConsole {
 public:
  explicit PollingConsole(std::function<void()> poll) : saved_(Console()) {
    ConsoleHooks hooks = saved_;
    hooks.Poll = std::move(poll);
    InstallConsoleHooks(hooks);
  }
  ~PollingConsole() { InstallConsoleHooks(saved_); }
  PollingConsole(const PollingConsole&) = delete;
  PollingConsole& operator=(const PollingConsole&) = delete;

 private:
  ConsoleHooks saved_;
};

TEST(StepWorkers, PollsWhileItWaitsForAStep) {
  AnalysisData data;
  GenerateRun(data, 1500, 800, 6, 3);
  const StepConstants constants(data);
  int polls = 0;
  const PollingConsole console([&polls] { ++polls; });
  StepWorkers steps(data, constants, 12, 2, StepDetail::Summaries, std::chrono::milliseconds(0));
  for (std::int64_t step = 1; step <= 12; ++step)
    steps.Summaries(step);
  EXPECT_GT(polls, 0);
}

// The windowed program can end the process inside Poll; in-process, the ending travels up
// the stack as an exception, and the workers must stop and be joined on the way.
TEST(StepWorkers, AnEndingInsidePollStopsEveryWorker) {
  struct EndedInPoll {};
  AnalysisData data;
  GenerateRun(data, 1500, 800, 6, 3);
  const StepConstants constants(data);
  const PollingConsole console([] { throw EndedInPoll{}; });
  bool ended = false;
  const auto start = std::chrono::steady_clock::now();
  try {
    StepWorkers steps(data, constants, 1000, 8, StepDetail::Summaries,
                      std::chrono::milliseconds(0));
    for (std::int64_t step = 1; step <= 1000; ++step)
      steps.Summaries(step);
  } catch (const EndedInPoll&) {
    ended = true;
  }
  EXPECT_TRUE(ended);
  // Far less than the 1000 steps would take: the workers stopped instead of finishing.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(StepThreadCount, ComesFromTheSettingOrTheOnlineProcessors) {
  const int online = static_cast<int>(::sysconf(_SC_NPROCESSORS_ONLN));
  struct Case {
    int asked;
    std::int32_t species, sites;
    int expected;  // 0: every online processor
  };
  const Case cases[] = {
      {0, 1000, 1000, 0}, {0, 250, 200, 0},    {0, 249, 200, 1},
      {0, -5, 100000, 1}, {1, 1000, 1000, 1},  {3, 1000, 1000, 3},
      {8, 30, 20, 8},     {-2, 1000, 1000, 0}, {100000, 30, 20, 256},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StepThreadCount(c.asked, c.species, c.sites), c.expected == 0 ? online : c.expected)
        << c.asked << ", " << c.species << " x " << c.sites;
  }
}

}  // namespace
}  // namespace kova
