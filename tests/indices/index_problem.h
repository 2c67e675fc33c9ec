// Test inputs for the index kernels: a species-by-site table, its grouping of the sites and
// a way to run any of the three kernels on it into a freshly allocated IndexTable.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "indices/kernel_cores.h"

namespace kova::test_support {

enum class Kernel { AbundancePresence, Abundance, Presence };

// The kernel that computes an index type (1 to 5).
Kernel KernelFor(std::int32_t indexType);

struct IndexProblem {
  std::int32_t speciesCount = 0;
  std::int32_t siteCount = 0;
  std::int32_t groupCount = 0;
  std::vector<std::int32_t> siteGroups;
  std::vector<std::int32_t> groupSizes;
  std::vector<float> abundances;  // column by column, species fastest
  std::vector<float> presences;   // 1 where the abundance is greater than 0, else 0
};

// One abundance row per species over the sites; GroupSizes are counted from `siteGroups`.
IndexProblem MakeProblem(const std::vector<std::vector<float>>& speciesRows,
                         const std::vector<std::int32_t>& siteGroups, std::int32_t groupCount);

// A reproducible random problem: mostly zeros, small integers and arbitrary reals, with
// about one species in ten absent everywhere. With `leaveLastGroupEmpty` no site gets the
// last group, whose size is then 0.
IndexProblem RandomProblem(std::uint32_t seed, std::int32_t speciesCount, std::int32_t siteCount,
                           std::int32_t groupCount, bool leaveLastGroupEmpty);

// Runs `kernel` through its public entry point with `build` and returns the IndexTable it
// leaves.
std::vector<float> RunKernel(const IndexProblem& problem, Kernel kernel, std::int32_t indexType,
                             KernelBuild build = KernelBuild::Fastest);

// The entries of one species (0-based) in group order.
std::vector<float> RowOf(const std::vector<float>& table, const IndexProblem& problem,
                         std::int32_t species);

// The NaN that 0/0 produces on x86: sign bit set, single-precision bits 0xFFC00000.
float DefaultNaN();

// Agreement with a value printed to four decimals. A zero or a NaN expected must match bit
// for bit, so that the sign of a zero and the pattern of the NaN are checked as well.
::testing::AssertionResult MatchesFourDecimals(float actual, float expected);

// Bit-for-bit equality of two tables, naming the first entry that differs.
::testing::AssertionResult SameBits(const std::vector<float>& actual,
                                    const std::vector<float>& expected);

// The worked examples' sites: three groups of sizes 3, 2 and 1.
inline const std::vector<std::int32_t> kWorkedSiteGroups = {1, 1, 1, 2, 2, 3};

// Expects each species' row of `table` (IndexType `indexType`) to match `expected` to four
// decimals.
void ExpectRows(const IndexProblem& problem, const std::vector<float>& table,
                const std::vector<std::vector<float>>& expected, std::int32_t indexType);

}  // namespace kova::test_support
