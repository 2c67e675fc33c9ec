#include "tests/indices/index_problem.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <random>

#include "indices/abundance_index.h"
#include "indices/abundance_presence_index.h"
#include "indices/presence_index.h"

namespace kova::test_support {
namespace {

float RandomAbundance(std::mt19937& engine) {
  const int kind = std::uniform_int_distribution<int>(0, 9)(engine);
  if (kind < 5) return 0.0f;
  if (kind < 8) return static_cast<float>(std::uniform_int_distribution<int>(1, 20)(engine));
  if (kind < 9) return std::uniform_real_distribution<float>(0.0f, 1000.0f)(engine);
  // Tiny subnormal and large values: both builds must handle them alike.
  return std::uniform_int_distribution<int>(0, 1)(engine) == 0 ? 1.0e-40f : 3.0e37f;
}

}  // namespace

Kernel KernelFor(std::int32_t indexType) {
  if (indexType == 1) return Kernel::AbundancePresence;
  return indexType <= 3 ? Kernel::Abundance : Kernel::Presence;
}

IndexProblem MakeProblem(const std::vector<std::vector<float>>& speciesRows,
                         const std::vector<std::int32_t>& siteGroups, std::int32_t groupCount) {
  IndexProblem problem;
  problem.speciesCount = static_cast<std::int32_t>(speciesRows.size());
  problem.siteCount = static_cast<std::int32_t>(siteGroups.size());
  problem.groupCount = groupCount;
  problem.siteGroups = siteGroups;
  problem.groupSizes.assign(static_cast<std::size_t>(groupCount), 0);
  for (const std::int32_t group : siteGroups)
    ++problem.groupSizes[group - 1];
  for (std::size_t site = 0; site < siteGroups.size(); ++site) {
    for (const std::vector<float>& row : speciesRows) {
      problem.abundances.push_back(row[site]);
      problem.presences.push_back(row[site] > 0.0f ? 1.0f : 0.0f);
    }
  }
  return problem;
}

IndexProblem RandomProblem(std::uint32_t seed, std::int32_t speciesCount, std::int32_t siteCount,
                           std::int32_t groupCount, bool leaveLastGroupEmpty) {
  std::mt19937 engine(seed);
  const std::int32_t usedGroups = leaveLastGroupEmpty ? groupCount - 1 : groupCount;
  std::vector<std::int32_t> siteGroups;
  for (std::int32_t site = 0; site < siteCount; ++site) {
    siteGroups.push_back(std::uniform_int_distribution<std::int32_t>(1, usedGroups)(engine));
  }
  std::vector<std::vector<float>> rows(static_cast<std::size_t>(speciesCount));
  for (std::vector<float>& row : rows) {
    const bool absentEverywhere = std::uniform_int_distribution<int>(0, 9)(engine) == 0;
    for (std::int32_t site = 0; site < siteCount; ++site) {
      row.push_back(absentEverywhere ? 0.0f : RandomAbundance(engine));
    }
  }
  return MakeProblem(rows, siteGroups, groupCount);
}

std::vector<float> RunKernel(const IndexProblem& problem, Kernel kernel, std::int32_t indexType,
                             KernelBuild build) {
  // One element at least, so that every reference passed is to real storage.
  std::vector<float> table(
      std::max<std::size_t>(1, static_cast<std::size_t>(problem.speciesCount) *
                                   static_cast<std::size_t>(problem.groupCount)),
      123.0f);
  const std::vector<std::int32_t> siteGroups =
      problem.siteGroups.empty() ? std::vector<std::int32_t>{1} : problem.siteGroups;
  const std::vector<std::int32_t> groupSizes =
      problem.groupSizes.empty() ? std::vector<std::int32_t>{0} : problem.groupSizes;
  const std::vector<float> abundances =
      problem.abundances.empty() ? std::vector<float>{0.0f} : problem.abundances;
  const std::vector<float> presences =
      problem.presences.empty() ? std::vector<float>{0.0f} : problem.presences;
  bool computed = false;
  switch (kernel) {
    case Kernel::AbundancePresence:
      computed = AbundancePresenceIndex(problem.speciesCount, problem.siteCount, problem.groupCount,
                                        abundances[0], siteGroups[0], groupSizes[0], presences[0],
                                        table[0], build);
      break;
    case Kernel::Abundance:
      computed =
          AbundanceIndex(problem.speciesCount, problem.siteCount, problem.groupCount, siteGroups[0],
                         groupSizes[0], abundances[0], table[0], indexType, build);
      break;
    case Kernel::Presence:
      computed =
          PresenceIndex(problem.speciesCount, problem.siteCount, problem.groupCount, siteGroups[0],
                        groupSizes[0], presences[0], table[0], indexType, build);
      break;
  }
  EXPECT_TRUE(computed) << "the kernel's work storage";
  table.resize(static_cast<std::size_t>(problem.speciesCount) *
               static_cast<std::size_t>(problem.groupCount));
  return table;
}

std::vector<float> RowOf(const std::vector<float>& table, const IndexProblem& problem,
                         std::int32_t species) {
  std::vector<float> row;
  for (std::int32_t group = 0; group < problem.groupCount; ++group) {
    row.push_back(table[static_cast<std::size_t>(species + group * problem.speciesCount)]);
  }
  return row;
}

float DefaultNaN() {
  return std::bit_cast<float>(0xFFC00000u);
}

::testing::AssertionResult MatchesFourDecimals(float actual, float expected) {
  const bool exact = std::isnan(expected) || expected == 0.0f;
  const bool matches =
      exact ? std::bit_cast<std::uint32_t>(actual) == std::bit_cast<std::uint32_t>(expected)
            : std::fabs(actual - expected) <= 5.0e-5f;
  if (matches) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got " << actual << " (bits 0x" << std::hex << std::bit_cast<std::uint32_t>(actual)
         << "), expected " << expected << " (bits 0x" << std::bit_cast<std::uint32_t>(expected)
         << ")";
}

::testing::AssertionResult SameBits(const std::vector<float>& actual,
                                    const std::vector<float>& expected) {
  if (actual.size() != expected.size()) {
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size();
  }
  if (actual.empty() ||
      std::memcmp(actual.data(), expected.data(), actual.size() * sizeof(float)) == 0) {
    return ::testing::AssertionSuccess();
  }
  for (std::size_t entry = 0;; ++entry) {
    if (std::bit_cast<std::uint32_t>(actual[entry]) !=
        std::bit_cast<std::uint32_t>(expected[entry])) {
      return ::testing::AssertionFailure()
             << "entry " << entry << ": bits 0x" << std::hex
             << std::bit_cast<std::uint32_t>(actual[entry]) << ", expected 0x"
             << std::bit_cast<std::uint32_t>(expected[entry]);
    }
  }
}

void ExpectRows(const IndexProblem& problem, const std::vector<float>& table,
                const std::vector<std::vector<float>>& expected, std::int32_t indexType) {
  for (std::size_t species = 0; species < expected.size(); ++species) {
    const std::vector<float> row = RowOf(table, problem, static_cast<std::int32_t>(species));
    for (std::size_t group = 0; group < row.size(); ++group) {
      EXPECT_TRUE(MatchesFourDecimals(row[group], expected[species][group]))
          << "type " << indexType << ", species " << species << ", group " << group;
    }
  }
}

}  // namespace kova::test_support
