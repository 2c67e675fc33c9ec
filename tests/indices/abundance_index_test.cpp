#include "indices/abundance_index.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/indices/index_problem.h"

namespace kova::test_support {
namespace {


struct RowCase {
  std::vector<float> abundances;
  std::vector<float> type2;
  std::vector<float> type3;
};

TEST(AbundanceIndex, WorkedExampleRows) {
  const float nan = DefaultNaN();
  const std::vector<RowCase> cases = {
      {{1, 2, 4, 1, 0, 0}, {0.6275f, 0.0882f, 0.0f}, {0.6803f, -0.1429f, -0.0f}},
      {{1, 1, 1, 1, 1, 1}, {0.3333f, 0.3333f, 0.3333f}, {0.0f, 0.0f, 0.0f}},
      {{0, 0, 0, 0, 5, 3}, {0.0f, 0.2273f, 0.5455f}, {-0.0f, 0.1667f, 0.5833f}},
      {{0, 0, 0, 0, 0, 0}, {nan, nan, nan}, {nan, nan, nan}},
      // Present in one group only, at one of its two sites: the evenness 1/2 there; elsewhere
      // 0 under type 2 and a negative zero under type 3.
      {{0, 0, 0, 6, 0, 0}, {0.0f, 0.5f, 0.0f}, {-0.0f, 0.5f, -0.0f}},
  };
  std::vector<std::vector<float>> rows;
  std::vector<std::vector<float>> type2;
  std::vector<std::vector<float>> type3;
  for (const RowCase& rowCase : cases) {
    rows.push_back(rowCase.abundances);
    type2.push_back(rowCase.type2);
    type3.push_back(rowCase.type3);
  }
  const IndexProblem problem = MakeProblem(rows, kWorkedSiteGroups, 3);
  ExpectRows(problem, RunKernel(problem, Kernel::Abundance, 2), type2, 2);
  ExpectRows(problem, RunKernel(problem, Kernel::Abundance, 3), type3, 3);
}

// A group without sites has the mean 0/0, and through S(i) and Mbar(i) every entry of every
// species becomes NaN.
TEST(AbundanceIndex, EmptyGroupTurnsWholeRowsIntoNaN) {
  const IndexProblem problem = MakeProblem({{1, 2, 4, 1, 0}, {0, 0, 0, 3, 3}}, {1, 1, 1, 2, 2}, 3);
  const float nan = DefaultNaN();
  for (const std::int32_t indexType : {2, 3}) {
    ExpectRows(problem, RunKernel(problem, Kernel::Abundance, indexType),
               {{nan, nan, nan}, {nan, nan, nan}}, indexType);
  }
}

// With one group the contrast divides by GroupCount - 1 = 0; type 2 is the evenness.
TEST(AbundanceIndex, OneGroup) {
  const IndexProblem problem = MakeProblem({{1, 3}, {2, 2}, {0, 5}}, {1, 1}, 1);
  const float nan = DefaultNaN();
  ExpectRows(problem, RunKernel(problem, Kernel::Abundance, 2), {{0.75f}, {1.0f}, {0.5f}}, 2);
  ExpectRows(problem, RunKernel(problem, Kernel::Abundance, 3), {{nan}, {nan}, {nan}}, 3);
}

TEST(AbundanceIndex, OtherIndexTypesLeaveTheGroupTotals) {
  const IndexProblem problem =
      MakeProblem({{1, 2, 4, 1, 0, 0}, {0.5f, 0, 0, 0, 0.25f, 8}}, kWorkedSiteGroups, 3);
  for (const std::int32_t indexType : {-1, 0, 1, 4, 5, 6}) {
    ExpectRows(problem, RunKernel(problem, Kernel::Abundance, indexType),
               {{7, 1, 0}, {0.5f, 0.25f, 8}}, indexType);
  }
}

}  // namespace
}  // namespace kova::test_support
