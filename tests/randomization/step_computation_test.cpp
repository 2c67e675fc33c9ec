// One step's tables, summaries and kept species maxima as any thread computes them, against
// the kernels' tables and the summary of each whole table, bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "randomization/step_computation.h"
#include "tests/indices/index_problem.h"

namespace kova {
namespace {

using test_support::IndexProblem;

// The analysis data of a generated problem: counts, abundances, grouping, derived presences.
void LoadProblem(AnalysisData& data, const IndexProblem& problem) {
  data = AnalysisData{};
  data.speciesCount = problem.speciesCount;
  data.siteCount = problem.siteCount;
  data.groupCount = problem.groupCount;
  AllocateArrays(data);
  std::copy(problem.abundances.begin(), problem.abundances.end(), data.abundanceMatrix.Data());
  std::copy(problem.siteGroups.begin(), problem.siteGroups.end(), data.siteGroups.Data());
  std::copy(problem.groupSizes.begin(), problem.groupSizes.end(), data.groupSizes.Data());
}

// Negative, infinite and NaN abundances in place of some entries, presences following them.
IndexProblem WithSpecialValues(IndexProblem problem, std::uint32_t seed) {
  const float specials[] = {-2.5f, std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), test_support::DefaultNaN(),
                            -0.0f};
  std::mt19937 engine(seed);
  std::uniform_int_distribution<int> pick(0, 29);
  for (std::size_t entry = 0; entry < problem.abundances.size(); ++entry) {
    const int drawn = pick(engine);
    if (drawn < 5) problem.abundances[entry] = specials[drawn];
    problem.presences[entry] = problem.abundances[entry] > 0.0f ? 1.0f : 0.0f;
  }
  return problem;
}

bool SameSummary(const StepSummary& a, const StepSummary& b) {
  return std::bit_cast<std::uint32_t>(a.stepSum) == std::bit_cast<std::uint32_t>(b.stepSum) &&
         a.topSpecies == b.topSpecies &&
         std::bit_cast<std::uint32_t>(a.topContribution) ==
             std::bit_cast<std::uint32_t>(b.topContribution);
}

TEST(StepComputation, SummariesAndTablesAreThoseOfTheKernels) {
  struct Shape {
    std::int32_t species, sites, groups;
    bool leaveLastGroupEmpty;
  };
  const Shape shapes[] = {{1, 4, 2, false},    {29, 40, 3, true},   {300, 120, 6, false},
                          {257, 64, 1, false}, {90, 30, 8, true},   {0, 10, 2, false},
                          {12, 0, 2, false},   {2500, 50, 4, false}};
  for (const Shape& shape : shapes) {
    for (const bool special : {false, true}) {
      IndexProblem problem = test_support::RandomProblem(5, shape.species, shape.sites,
                                                         shape.groups, shape.leaveLastGroupEmpty);
      if (special) problem = WithSpecialValues(problem, 5);
      AnalysisData data;
      LoadProblem(data, problem);
      const StepConstants constants(data);
      const auto work = StepWork::TryObtain(constants);
      ASSERT_NE(work, nullptr);

      const auto entries = static_cast<std::size_t>(shape.species * shape.groups);
      std::vector<std::vector<float>> tables(5, std::vector<float>(entries, 99.0f));
      float* pointers[5];
      for (int type = 0; type < 5; ++type)
        pointers[type] = tables[type].data();
      const Grouping grouping = {data.siteGroups.Data(), data.groupSizes.Data()};
      StepSummaries summaries;
      ASSERT_TRUE(ComputeSteps(constants, &grouping, 1, *work, &summaries, &pointers));

      const std::string where = std::to_string(shape.species) + "x" + std::to_string(shape.sites) +
                                "x" + std::to_string(shape.groups) +
                                (special ? " with special values" : "");
      const auto species = static_cast<std::size_t>(shape.species);
      std::vector<float> maxima(species + 1);
      std::vector<float> expectedMaxima;  // every type's species maxima, as the summary finds them
      for (std::int32_t type = 1; type <= 5; ++type) {
        const std::vector<float> kernel =
            test_support::RunKernel(problem, test_support::KernelFor(type), type);
        EXPECT_TRUE(test_support::SameBits(tables[type - 1], kernel)) << where << ", type " << type;
        const StepSummary expected =
            SummarizeIndexTable(kernel.data(), shape.species, shape.groups, maxima.data());
        EXPECT_TRUE(SameSummary(summaries[type - 1], expected)) << where << ", type " << type;
        expectedMaxima.insert(expectedMaxima.end(), maxima.begin(), maxima.begin() + species);
      }

      // The same grouping after a second one, in the same passes, its species maxima kept:
      // the same summaries, and the maxima the summaries were made of.
      test_support::IndexProblem other = problem;
      std::mt19937 engine(9);
      std::shuffle(other.siteGroups.begin(), other.siteGroups.end(), engine);
      const Grouping pair[2] = {{other.siteGroups.data(), other.groupSizes.data()}, grouping};
      StepSummaries pairSummaries[2];
      std::vector<float> kept[2] = {std::vector<float>(5 * species + 1, 99.0f),
                                    std::vector<float>(5 * species + 1, 99.0f)};
      float* const keptMaxima[2] = {kept[0].data(), kept[1].data()};
      ASSERT_TRUE(ComputeSteps(constants, pair, 2, *work, pairSummaries, nullptr, keptMaxima));
      for (int type = 0; type < 5; ++type) {
        EXPECT_TRUE(SameSummary(pairSummaries[1][type], summaries[type]))
            << where << ", second of a pair, type " << type + 1;
      }
      kept[1].pop_back();
      EXPECT_TRUE(test_support::SameBits(kept[1], expectedMaxima)) << where << ", kept maxima";
    }
  }
}

// The summary of a whole table, and of the same table block by block, with the ties, NaNs,
// negative maxima and equal tops falling on either side of a block boundary.
TEST(StepSummary, BlockByBlockIsTheSummaryOfTheWholeTable) {
  const float nan = test_support::DefaultNaN();
  const std::vector<std::vector<float>> rows = {
      {0.2f, -0.5f, 0.5f}, {0.3f, nan, 0.1f},   {0.0f, 0.0f, 0.0f}, {0.7f, 0.1f, -0.7f},
      {-0.9f, 0.2f, 0.0f}, {0.7f, 0.0f, 0.0f},  {nan, nan, nan},    {0.1f, 0.7f, 0.2f},
      {0.3f, 0.3f, -0.3f}, {1e-30f, 0.0f, 0.0f}};
  const auto species = static_cast<std::int64_t>(rows.size());
  const std::int64_t groups = 3;
  const auto rowsOf = [&](std::int64_t first, std::int64_t count) {
    std::vector<float> table(static_cast<std::size_t>(count * groups));
    for (std::int64_t i = 0; i < count; ++i) {
      for (std::int64_t k = 0; k < groups; ++k)
        table[static_cast<std::size_t>(i + k * count)] = rows[first + i][k];
    }
    return table;
  };
  std::vector<float> maxima(rows.size());
  const std::vector<float> whole = rowsOf(0, species);
  const StepSummary expected = SummarizeIndexTable(whole.data(), 10, 3, maxima.data());
  EXPECT_EQ(expected.topSpecies, 4);  // 0.7 first reached by species 4, not species 6 or 8
  for (const std::int64_t block : {1, 2, 3, 4, 7, 9, 10}) {
    StepSummary summary;
    for (std::int64_t first = 0; first < species; first += block) {
      const std::int64_t count = std::min(block, species - first);
      const std::vector<float> part = rowsOf(first, count);
      AddSpeciesToSummary(summary, part.data(), first, count, groups, maxima.data());
    }
    EXPECT_TRUE(SameSummary(summary, expected)) << "blocks of " << block;
  }
}

}  // namespace
}  // namespace kova
