// The p-values count the shuffles that give the observed value exactly, even where the
// single-precision tables, summing over the sites in another order, make them a few units in
// the last place lower. Eight sites in two groups of four have 70 groupings, equally likely
// in the long run; on abundances whose sums depend on their order, many of them tie the
// observed grouping. A long run's p-values must converge to the share of the 70 whose exact
// value reaches the observed one.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/analysis_main.h"
#include "tests/driver/observed_runs.h"
#include "randomization/exact_values.h"
#include "randomization/run_outcome.h"
#include "tests/support/console_capture.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

constexpr int kSites = 8;
// Species (rows) whose group sums tie in many groupings: values that float addition rounds
// differently in different orders, and a presence pattern for the presence variants.
const std::vector<std::vector<float>> kSpecies = {
    {0.2f, 1.1f, 1.1f, 1.1f, 0.2f, 0.2f, 0.2f, 1.1f},
    {1.1f, 0.6f, 0.6f, 0.7f, 0.0f, 0.6f, 0.6f, 1.1f},
    {1.1f, 0.1f, 1.1f, 0.2f, 0.2f, 1.1f, 0.0f, 0.1f},
    {0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 1.1f, 0.2f, 0.2f},
    {1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
};
const std::vector<std::int32_t> kObserved = {1, 1, 1, 1, 2, 2, 2, 2};

AnalysisData Table() {
  AnalysisData data;
  data.speciesCount = static_cast<std::int32_t>(kSpecies.size());
  data.siteCount = kSites;
  data.groupCount = 2;
  AllocateArrays(data);
  for (std::size_t i = 0; i < kSpecies.size(); ++i) {
    for (std::size_t k = 0; k < kSites; ++k)
      data.abundanceMatrix.Data()[i + k * kSpecies.size()] = kSpecies[i][k];
  }
  return data;
}

// Each species' largest exact magnitude of each IndexType, and their sums, for one grouping.
struct ExactMaxima {
  double species[kIndexTypeCount][5] = {};
  double sums[kIndexTypeCount] = {};
};

ExactMaxima MaximaOf(const AnalysisData& data, const std::vector<std::int32_t>& groups) {
  const std::vector<std::int32_t> sizes = {4, 4};
  const ExactSums sums = SumOverSites(data, groups.data(), sizes);
  ExactMaxima maxima;
  for (std::size_t i = 0; i < kSpecies.size(); ++i) {
    const ExactSpeciesValues values(sums, sizes, i, kSpecies.size());
    for (int type = 0; type < kIndexTypeCount; ++type) {
      const double largest = std::max(std::fabs(values.Value(type + 1, 0)),
                                      std::fabs(values.Value(type + 1, 1)));
      maxima.species[type][i] = largest;
      maxima.sums[type] += largest;
    }
  }
  return maxima;
}

bool ReachesExactly(double value, double observed) {
  return value >= observed - 1e-12;
}

TEST(TieCounting, LongRunPValuesConvergeToTheEnumeratedDistribution) {
  const AnalysisData data = Table();
  const ExactMaxima observed = MaximaOf(data, kObserved);
  double speciesShare[kIndexTypeCount][5] = {};
  double sumShare[kIndexTypeCount] = {};
  for (unsigned subset = 0; subset < 256; ++subset) {
    if (__builtin_popcount(subset) != 4) continue;
    std::vector<std::int32_t> groups(kSites);
    for (int k = 0; k < kSites; ++k)
      groups[static_cast<std::size_t>(k)] = (subset >> k & 1U) != 0 ? 1 : 2;
    const ExactMaxima maxima = MaximaOf(data, groups);
    for (int type = 0; type < kIndexTypeCount; ++type) {
      for (std::size_t i = 0; i < kSpecies.size(); ++i) {
        if (ReachesExactly(maxima.species[type][i], observed.species[type][i]))
          speciesShare[type][i] += 1.0 / 70;
      }
      if (ReachesExactly(maxima.sums[type], observed.sums[type])) sumShare[type] += 1.0 / 70;
    }
  }

  test_support::ScratchFolder folder;
  std::string table = "tied sums\n5 8 2\n";
  for (const std::vector<float>& species : kSpecies) {
    for (const float value : species)
      table += std::to_string(value) + " ";
    table += "\n";
  }
  folder.Write("data.txt", table);
  folder.Write("groups.txt", "1 1 1 1 2 2 2 2\n");
  RunObserver observer;
  observer.keepsSpecies = true;
  const auto run = test_support::RunObserved(
      test_support::Request(folder.File("data.txt"), TableForm::DataFile, folder.File("groups.txt"),
                            12345, 20000),
      folder.Path(), observer);
  ASSERT_EQ(run.captured.exitCode, 0) << run.captured.error;
  const std::vector<RunOutcome>& outcomes = run.outcomes;
  ASSERT_EQ(outcomes.size(), 1U);

  // Five standard errors of a share of n steps, and the observed step's own count.
  const double n = 20000;
  const auto near = [n](double p) { return 5.0 * std::sqrt(p * (1.0 - p) / n) + 1.0 / n; };
  const RunOutcome& outcome = outcomes.front();
  for (int type = 0; type < kIndexTypeCount; ++type) {
    for (std::size_t i = 0; i < kSpecies.size(); ++i) {
      const double expected = speciesShare[type][i];
      const double p = outcome.species->indicators[type][i].stepsAtLeastObserved / n;
      EXPECT_NEAR(p, expected, near(expected)) << "type " << type + 1 << ", species " << i + 1;
    }
    const double p = outcome.variants[type].sumsAtLeastObserved / n;
    EXPECT_NEAR(p, sumShare[type], near(sumShare[type])) << "sum of type " << type + 1;
  }
}

}  // namespace
}  // namespace kova
