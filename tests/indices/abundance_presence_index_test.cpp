#include "indices/abundance_presence_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <vector>

#include "tests/indices/index_problem.h"

namespace kova::test_support {
namespace {


struct RowCase {
  std::vector<float> abundances;
  std::vector<float> expected;
};

TEST(AbundancePresenceIndex, WorkedExampleRows) {
  const std::vector<RowCase> cases = {
      {{1, 2, 4, 1, 0, 0}, {0.8235f, 0.0882f, 0.0f}},
      {{1, 1, 1, 1, 1, 1}, {0.3333f, 0.3333f, 0.3333f}},
      {{0, 0, 0, 0, 5, 3}, {0.0f, 0.2273f, 0.5455f}},
      {{0, 0, 0, 0, 0, 0}, {0.0f, 0.0f, 0.0f}},
      // Present in one group only: the occurrence frequency there, 0 elsewhere.
      {{0, 0, 0, 2, 0, 0}, {0.0f, 0.5f, 0.0f}},
  };
  std::vector<std::vector<float>> rows;
  for (const RowCase& rowCase : cases)
    rows.push_back(rowCase.abundances);
  const IndexProblem problem = MakeProblem(rows, kWorkedSiteGroups, 3);
  const std::vector<float> table = RunKernel(problem, Kernel::AbundancePresence, 1);

  for (std::size_t species = 0; species < cases.size(); ++species) {
    const std::vector<float> row = RowOf(table, problem, static_cast<std::int32_t>(species));
    for (std::size_t group = 0; group < 3; ++group) {
      EXPECT_TRUE(MatchesFourDecimals(row[group], cases[species].expected[group]))
          << "species " << species << ", group " << group;
    }
  }
}

// A group without sites has the mean 0/0: the NaN spreads through S(i) to every entry with
// a positive mean, while entries whose mean is 0 stay 0.
TEST(AbundancePresenceIndex, EmptyGroupTurnsPositiveEntriesIntoNaN) {
  const IndexProblem problem = MakeProblem({{1, 2, 4, 1, 0}, {0, 0, 0, 3, 3}}, {1, 1, 1, 2, 2}, 3);
  const std::vector<float> table = RunKernel(problem, Kernel::AbundancePresence, 1);
  const std::vector<std::vector<float>> expected = {
      {DefaultNaN(), DefaultNaN(), DefaultNaN()},
      {0.0f, DefaultNaN(), DefaultNaN()},
  };
  for (std::int32_t species = 0; species < 2; ++species) {
    const std::vector<float> row = RowOf(table, problem, species);
    for (std::size_t group = 0; group < 3; ++group) {
      EXPECT_TRUE(MatchesFourDecimals(row[group], expected[species][group]))
          << "species " << species << ", group " << group;
    }
  }
}

TEST(AbundancePresenceIndex, OneGroupGivesTheOccurrenceFrequency) {
  const IndexProblem problem =
      MakeProblem({{1, 0, 3, 0, 0, 7, 2}, {0, 0, 0, 0, 0, 0, 0.5}, {9, 9, 9, 9, 9, 9, 9}},
                  {1, 1, 1, 1, 1, 1, 1}, 1);
  const std::vector<float> table = RunKernel(problem, Kernel::AbundancePresence, 1);
  EXPECT_FLOAT_EQ(table[0], 4.0f / 7.0f);
  EXPECT_FLOAT_EQ(table[1], 1.0f / 7.0f);
  EXPECT_FLOAT_EQ(table[2], 1.0f);
}

// 4097^2 = 16785409 is not a single-precision value; squared in single precision the size is
// 16785408, which moves the result by one unit against the exact square (0x3F7FF001).
TEST(AbundancePresenceIndex, SquaredSizeIsRoundedToSinglePrecision) {
  std::vector<float> abundances(4097, 1.0f);
  abundances.back() = 0.0f;
  const IndexProblem problem = MakeProblem({abundances}, std::vector<std::int32_t>(4097, 1), 1);
  const std::vector<float> table = RunKernel(problem, Kernel::AbundancePresence, 1);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(table[0]), 0x3F7FF002u);
}

TEST(AbundancePresenceIndex, ReorderingSpeciesReordersRowsOnly) {
  const IndexProblem problem = RandomProblem(7, 23, 40, 4, false);
  IndexProblem reversed = problem;
  const std::size_t species = static_cast<std::size_t>(problem.speciesCount);
  for (std::size_t site = 0; site < static_cast<std::size_t>(problem.siteCount); ++site) {
    std::reverse(reversed.abundances.begin() + site * species,
                 reversed.abundances.begin() + (site + 1) * species);
    std::reverse(reversed.presences.begin() + site * species,
                 reversed.presences.begin() + (site + 1) * species);
  }
  const std::vector<float> table = RunKernel(problem, Kernel::AbundancePresence, 1);
  const std::vector<float> reversedTable = RunKernel(reversed, Kernel::AbundancePresence, 1);
  for (std::int32_t i = 0; i < problem.speciesCount; ++i) {
    EXPECT_TRUE(SameBits(RowOf(reversedTable, reversed, problem.speciesCount - 1 - i),
                         RowOf(table, problem, i)))
        << "species " << i;
  }
}

}  // namespace
}  // namespace kova::test_support
