// What a run hands its observer: every step in order, then once the outcome, whose counts,
// sums and species maxima are those of the steps, the same for every number of threads; and
// a quiet run's console without the step records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "driver/analysis_main.h"
#include "randomization/observed_species.h"
#include "randomization/run_outcome.h"
#include "tests/driver/observed_runs.h"
#include "tests/support/console_capture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/smallest_example.h"

namespace kova {
namespace {

using test_support::ScratchFolder;

TEST(ObservedSpecies, TheStrongestEntryAndItsGroupFollowTheSummarysRule) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    std::vector<float> row;
    std::int32_t group;
    float maximum;
  } cases[] = {
      {{0.2f, -0.5f, 0.5f}, 2, -0.5f},  // a later entry of equal magnitude does not replace it
      {{0.3f, nan, 0.1f}, 1, 0.3f},     // a NaN never wins
      {{0.1f, 0.4f, 0.4f}, 2, 0.4f},    // the first group of a tie
      {{0.0f, 0.0f, 0.0f}, 1, 0.0f},    // all zero: the first group's zero
      {{nan, -0.0f, 0.0f}, 2, 0.0f},    // a negative zero ties, the maximum stays 0.0
      {{nan, nan, nan}, 0, 0.0f},       // no entry has the maximum's magnitude
      {{}, 0, 0.0f},                    // no groups
  };
  for (const auto& c : cases) {
    const SpeciesIndicator strongest =
        StrongestEntry(c.row.data(), static_cast<std::int64_t>(c.row.size()), 1);
    EXPECT_EQ(strongest.group, c.group) << ::testing::PrintToString(c.row);
    EXPECT_EQ(strongest.maximum, c.maximum) << ::testing::PrintToString(c.row);
    EXPECT_FALSE(std::signbit(strongest.maximum) && strongest.maximum == 0.0f);
  }
  // Entries a stride apart, as a species' row lies in a table stored column by column.
  const float table[] = {9.0f, 0.1f, 9.0f, -0.6f, 9.0f, 0.6f};
  EXPECT_EQ(StrongestEntry(table + 1, 3, 2).group, 2);
}

// A table with species absent everywhere, at one site, or everywhere, over three groups.
void WriteTable(const ScratchFolder& folder) {
  constexpr int kSpecies = 14;
  constexpr int kSites = 18;
  std::string data =
      "generated\n" + std::to_string(kSpecies) + " " + std::to_string(kSites) + " 3\n";
  for (int i = 0; i < kSpecies; ++i) {
    for (int k = 0; k < kSites; ++k) {
      int value = (i * 7 + k * k * 3 + i * k) % 6 - 2;
      if (i == 3) value = 0;               // absent
      if (i == 5) value = k == 4 ? 2 : 0;  // at one site
      if (i == 8) value = 1 + k % 2;       // everywhere
      data += std::to_string(value > 0 ? value : 0) + (k + 1 < kSites ? " " : "\n");
    }
  }
  folder.Write("data.txt", data);
  std::string groups;
  for (int k = 0; k < kSites; ++k)
    groups += std::to_string(k * 3 / kSites + 1) + "\n";
  folder.Write("groups.txt", groups);
}

struct ObservedRun {
  test_support::CapturedRun captured;
  std::vector<std::int64_t> stepsReported;
  std::vector<RunOutcome> outcomes;
  std::string results;
};

ObservedRun RunObserved(const ScratchFolder& folder, std::int32_t steps, int threads,
                        ConsoleSteps consoleSteps = ConsoleSteps::Shown) {
  ObservedRun run;
  RunObserver observer;
  observer.keepsStepSums = true;
  observer.keepsSpecies = true;
  observer.stepReported = [&run, steps](std::int64_t step, std::int64_t stepCount) {
    EXPECT_EQ(stepCount, steps);
    EXPECT_TRUE(run.outcomes.empty());
    run.stepsReported.push_back(step);
  };
  RunRequest request = test_support::Request(folder.File("data.txt"), TableForm::DataFile,
                                             folder.File("groups.txt"), 12345, steps);
  request.consoleSteps = consoleSteps;
  AnalysisSettings settings;
  settings.threads = threads;
  test_support::ObservedRun observed =
      test_support::RunObserved(request, folder.Path(), observer, settings);
  run.captured = std::move(observed.captured);
  run.outcomes = std::move(observed.outcomes);
  run.results = test_support::ReadWholeFile(folder.File("RESULTS.TXT"));
  return run;
}

TEST(RunOutcome, TheObserverHearsEveryStepThenTheOutcomeOfThoseSteps) {
  ScratchFolder folder;
  WriteTable(folder);
  constexpr std::int32_t kSteps = 199;
  const ObservedRun run = RunObserved(folder, kSteps, 1);
  ASSERT_EQ(run.captured.exitCode, 0) << run.captured.error;
  ASSERT_EQ(run.outcomes.size(), 1U);
  ASSERT_EQ(run.stepsReported.size(), static_cast<std::size_t>(kSteps));
  for (std::int64_t step = 1; step <= kSteps; ++step)
    EXPECT_EQ(run.stepsReported[static_cast<std::size_t>(step - 1)], step);

  const RunOutcome& outcome = run.outcomes.front();
  EXPECT_EQ(outcome.stepCount, kSteps);
  EXPECT_EQ(outcome.speciesCount, 14);
  for (int type = 0; type < kIndexTypeCount; ++type) {
    const VariantOutcome& variant = outcome.variants[type];
    ASSERT_EQ(variant.stepSums.size(), static_cast<std::size_t>(kSteps));
    EXPECT_EQ(variant.observedSum, variant.stepSums.front());
    const auto atLeast = std::count_if(variant.stepSums.begin(), variant.stepSums.end(),
                                       [&](float sum) { return sum >= variant.observedSum; });
    EXPECT_EQ(variant.sumsAtLeastObserved, atLeast) << "type " << type + 1;
    // The sum line of step 1 in "RESULTS.TXT" is the observed sum as the report edits it.
    EXPECT_GT(variant.sumDeviation, 0.0f);
    EXPECT_FLOAT_EQ(variant.zScore, (variant.observedSum - variant.sumMean) / variant.sumDeviation);
  }

  ASSERT_TRUE(outcome.species);
  const SpeciesOutcome& species = *outcome.species;
  float observedSum[kIndexTypeCount] = {};
  for (int type = 0; type < kIndexTypeCount; ++type) {
    ASSERT_EQ(species.indicators[type].size(), 14U);
    for (const SpeciesIndicator& indicator : species.indicators[type]) {
      observedSum[type] =
          static_cast<float>(std::fabs(indicator.maximum) + static_cast<double>(observedSum[type]));
      EXPECT_GE(indicator.stepsAtLeastObserved, 1);
      EXPECT_LE(indicator.stepsAtLeastObserved, kSteps);
    }
    // The maxima are those step 1 summed.
    EXPECT_EQ(observedSum[type], outcome.variants[type].observedSum) << "type " << type + 1;
  }
  // The absent species: an APCF row of zeros (group 1), NaN rows elsewhere (no group); in every
  // step its maximum is 0.0, as large as the observed one.
  EXPECT_EQ(species.indicators[0][3].group, 1);
  EXPECT_EQ(species.indicators[1][3].group, 0);
  EXPECT_EQ(species.indicators[1][3].stepsAtLeastObserved, kSteps);
  // The species at one site of group 1: APCF is its share there (1) times its frequency (1/6).
  EXPECT_EQ(species.indicators[0][5].group, 1);
  EXPECT_EQ(species.apcfShare[5], 1.0);
  EXPECT_EQ(species.apcfFrequency[5], 1.0 / 6.0);
  // The absent species' share is 0 / 0, and it is the only absent one.
  EXPECT_TRUE(std::isnan(species.apcfShare[3]));
  for (std::size_t i = 0; i < 14; ++i)
    EXPECT_EQ(species.absent[i], i == 3) << "species " << i + 1;
  // The reported values are the tables' maxima free of their rounding.
  for (std::size_t i = 0; i < 14; ++i) {
    for (int type = 0; type < kIndexTypeCount; ++type) {
      const SpeciesIndicator& indicator = species.indicators[type][i];
      if (indicator.group == 0) continue;
      EXPECT_NEAR(indicator.value, indicator.maximum, 1e-6) << "species " << i + 1;
    }
    if (species.indicators[0][i].maximum == 0.0f) continue;
    EXPECT_NEAR(species.apcfShare[i] * species.apcfFrequency[i], species.indicators[0][i].value,
                1e-15)
        << "species " << i + 1;
  }
}

TEST(RunOutcome, EveryNumberOfThreadsCountsTheSame) {
  ScratchFolder folder;
  WriteTable(folder);
  const ObservedRun single = RunObserved(folder, 120, 1);
  ASSERT_EQ(single.outcomes.size(), 1U);
  for (const int threads : {2, 3}) {
    const ObservedRun run = RunObserved(folder, 120, threads);
    ASSERT_EQ(run.outcomes.size(), 1U);
    EXPECT_EQ(run.results, single.results);
    for (int type = 0; type < kIndexTypeCount; ++type) {
      const auto& expected = single.outcomes.front().species->indicators[type];
      const auto& actual = run.outcomes.front().species->indicators[type];
      for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].stepsAtLeastObserved, expected[i].stepsAtLeastObserved)
            << threads << " threads, type " << type + 1 << ", species " << i + 1;
      }
      EXPECT_EQ(run.outcomes.front().variants[type].stepSums,
                single.outcomes.front().variants[type].stepSums);
    }
  }
}

TEST(RunOutcome, AQuietRunLeavesTheStepsOutOfTheConsoleOnly) {
  ScratchFolder folder;
  WriteTable(folder);
  const ObservedRun shown = RunObserved(folder, 20, 1);
  const ObservedRun quiet = RunObserved(folder, 20, 1, ConsoleSteps::LeftOut);
  EXPECT_EQ(quiet.results, shown.results);
  EXPECT_EQ(quiet.stepsReported, shown.stepsReported);
  const std::string prompts = test_support::PromptRecords();
  const std::string finalTable =
      shown.captured.output.substr(shown.captured.output.rfind(" \r\n  INDEX"));
  EXPECT_EQ(quiet.captured.output, prompts + finalTable);
  EXPECT_EQ(shown.captured.output.substr(prompts.size(), shown.results.size()), shown.results);
}

TEST(RunOutcome, WithoutAnObserverOrStepsNothingIsKeptOrHeard) {
  ScratchFolder folder;
  folder.Write("data.txt", test_support::kSmallestData);
  folder.Write("groups.txt", test_support::kSmallestGroups);
  int completed = 0;
  RunObserver observer;
  observer.runCompleted = [&completed](const RunOutcome& outcome) {
    ++completed;
    EXPECT_FALSE(outcome.species);
    EXPECT_TRUE(outcome.variants[0].stepSums.empty());
    EXPECT_EQ(outcome.variants[0].sumsAtLeastObserved, 2);
  };
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  test_support::RunCaptured([&] { RunAnalysis({}, observer); }, "data.txt\n7\n2\ngroups.txt\n");
  test_support::RunCaptured([&] { RunAnalysis({}, observer); }, "data.txt\n7\n0\ngroups.txt\n");
  std::filesystem::current_path(previous);
  EXPECT_EQ(completed, 1);
}

}  // namespace
}  // namespace kova
