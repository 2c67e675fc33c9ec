#include "indices/presence_index.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "tests/indices/index_problem.h"

namespace kova::test_support {
namespace {


struct RowCase {
  std::vector<float> presences;
  std::vector<float> type4;
  std::vector<float> type5;
};

TEST(PresenceIndex, WorkedExampleRows) {
  const float nan = DefaultNaN();
  const std::vector<RowCase> cases = {
      {{1, 1, 1, 1, 0, 0}, {0.75f, 0.125f, 0.0f}, {0.75f, 0.0f, -0.0f}},
      // Present everywhere: n(j) / SiteCount under type 4, 0 under type 5.
      {{1, 1, 1, 1, 1, 1}, {0.5f, 0.3333f, 0.1667f}, {0.0f, 0.0f, 0.0f}},
      {{0, 0, 0, 0, 1, 1}, {0.0f, 0.25f, 0.5f}, {-0.0f, 0.0f, 0.75f}},
      {{0, 0, 0, 0, 0, 0}, {nan, nan, nan}, {nan, nan, nan}},
      // Present in one group only: the frequency there; elsewhere 0, or a negative zero.
      {{0, 1, 1, 0, 0, 0}, {0.6667f, 0.0f, 0.0f}, {0.6667f, -0.0f, -0.0f}},
  };
  std::vector<std::vector<float>> rows;
  std::vector<std::vector<float>> type4;
  std::vector<std::vector<float>> type5;
  for (const RowCase& rowCase : cases) {
    rows.push_back(rowCase.presences);
    type4.push_back(rowCase.type4);
    type5.push_back(rowCase.type5);
  }
  const IndexProblem problem = MakeProblem(rows, kWorkedSiteGroups, 3);
  ExpectRows(problem, RunKernel(problem, Kernel::Presence, 4), type4, 4);
  ExpectRows(problem, RunKernel(problem, Kernel::Presence, 5), type5, 5);
}

// Under type 4 only the empty group's own entry is 0/0; under type 5 its frequency makes the
// average, and with it the whole row, NaN.
TEST(PresenceIndex, EmptyGroup) {
  const IndexProblem problem = MakeProblem({{1, 1, 0, 1, 0}, {0, 0, 0, 1, 1}}, {1, 1, 1, 2, 2}, 3);
  const float nan = DefaultNaN();
  ExpectRows(problem, RunKernel(problem, Kernel::Presence, 4),
             {{0.4444f, 0.1667f, nan}, {0.0f, 1.0f, nan}}, 4);
  ExpectRows(problem, RunKernel(problem, Kernel::Presence, 5), {{nan, nan, nan}, {nan, nan, nan}},
             5);
}

// With one group the contrast divides by GroupCount - 1 = 0; type 4 is the frequency.
TEST(PresenceIndex, OneGroup) {
  const IndexProblem problem = MakeProblem({{1, 0, 1, 1}, {0, 0, 0, 1}}, {1, 1, 1, 1}, 1);
  const float nan = DefaultNaN();
  ExpectRows(problem, RunKernel(problem, Kernel::Presence, 4), {{0.75f}, {0.25f}}, 4);
  ExpectRows(problem, RunKernel(problem, Kernel::Presence, 5), {{nan}, {nan}}, 5);
}

// F^2 is squared in single precision: 4097^2 becomes 16785408, one less than n x P, so a
// species present at all 4097 sites of the only group scores just below 1.
TEST(PresenceIndex, SquaredCountIsRoundedToSinglePrecision) {
  const IndexProblem problem =
      MakeProblem({std::vector<float>(4097, 1.0f)}, std::vector<std::int32_t>(4097, 1), 1);
  const std::vector<float> table = RunKernel(problem, Kernel::Presence, 4);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(table[0]), 0x3F7FFFFFu);
}

TEST(PresenceIndex, OtherIndexTypesLeaveTheOccupiedSiteCounts) {
  const IndexProblem problem =
      MakeProblem({{1, 1, 1, 1, 0, 0}, {0, 3, 0, 0, 2, 8}}, kWorkedSiteGroups, 3);
  for (const std::int32_t indexType : {-5, 0, 1, 2, 3, 6}) {
    ExpectRows(problem, RunKernel(problem, Kernel::Presence, indexType), {{3, 1, 0}, {1, 1, 1}},
               indexType);
  }
}

}  // namespace
}  // namespace kova::test_support
