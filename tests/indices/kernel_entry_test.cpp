// What the kernels' entry points do around the computation: extents and work storage.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "indices/abundance_index.h"
#include "indices/abundance_presence_index.h"
#include "indices/presence_index.h"
#include "tests/indices/index_problem.h"

namespace kova::test_support {
namespace {

struct Counts {
  std::int32_t speciesCount;
  std::int32_t siteCount;
  std::int32_t groupCount;
};

// Runs the kernel of `indexType` on one-element arrays with the given counts; false when its
// work storage could not be obtained.
bool RunOnCounts(const Counts& counts, std::int32_t indexType, float& table) {
  const float abundance = 2.0f;
  const float presence = 1.0f;
  const std::int32_t siteGroup = 1;
  const std::int32_t groupSize = 1;
  switch (KernelFor(indexType)) {
    case Kernel::AbundancePresence:
      return AbundancePresenceIndex(counts.speciesCount, counts.siteCount, counts.groupCount,
                                    abundance, siteGroup, groupSize, presence, table);
    case Kernel::Abundance:
      return AbundanceIndex(counts.speciesCount, counts.siteCount, counts.groupCount, siteGroup,
                            groupSize, abundance, table, indexType);
    case Kernel::Presence:
      return PresenceIndex(counts.speciesCount, counts.siteCount, counts.groupCount, siteGroup,
                           groupSize, presence, table, indexType);
  }
  return false;
}

// A negative count is an extent of 0: without species or without groups there is no entry
// to write, and without sites every group total is 0. (Sites need groups to belong to, so a
// table without groups has no sites either.)
TEST(KernelEntry, NegativeCountsAreEmptyExtents) {
  struct Case {
    Counts counts;
    float expected;  // what the one-element table holds afterwards
  };
  const std::vector<Case> cases = {
      {{-1, 1, 1}, 123.0f},
      {{1, 0, -1}, 123.0f},
      {{-5, -5, -5}, 123.0f},
      {{std::numeric_limits<std::int32_t>::min(), 1, 1}, 123.0f},
  };
  for (const Case& testCase : cases) {
    for (std::int32_t indexType = 1; indexType <= 5; ++indexType) {
      float table = 123.0f;
      EXPECT_TRUE(RunOnCounts(testCase.counts, indexType, table)) << "type " << indexType;
      EXPECT_TRUE(MatchesFourDecimals(table, testCase.expected)) << "type " << indexType;
    }
  }
  // One species, one group of size 1 and no sites: the totals stay 0.
  for (const std::int32_t siteCount : {-7, 0}) {
    float totals = 123.0f;
    EXPECT_TRUE(RunOnCounts({1, siteCount, 1}, 0, totals));
    EXPECT_TRUE(MatchesFourDecimals(totals, 0.0f)) << "sites " << siteCount;
  }
}

// Work storage of GroupCount x SpeciesCount entries whose size in bytes does not fit in
// memory's address range, or that the system cannot provide, is reported to the caller,
// which decides how the run ends; the table is left as it was.
TEST(KernelEntry, WorkStorageFailureIsReportedToTheCaller) {
  constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
  std::vector<Counts> cases = {{kLargest, 0, kLargest}};
#if !defined(__SANITIZE_ADDRESS__)
  // Sizes that fit but that no system provides; the address sanitizer stops such requests
  // itself, so the case runs only without it.
  cases.push_back({kLargest, 0, 1 << 28});
#endif
  for (const Counts& counts : cases) {
    for (const std::int32_t indexType : {1, 2, 3}) {
      float table = 123.0f;
      EXPECT_FALSE(RunOnCounts(counts, indexType, table)) << "type " << indexType;
      EXPECT_EQ(table, 123.0f);
    }
  }
}

}  // namespace
}  // namespace kova::test_support
