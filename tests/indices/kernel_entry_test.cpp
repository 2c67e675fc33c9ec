// What the kernels' entry points do around the computation: extents and work storage.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "indices/abundance_index.h"
#include "indices/abundance_presence_index.h"
#include "indices/presence_index.h"
#include "tests/indices/index_problem.h"
#include "tests/support/console_capture.h"

namespace kova::test_support {
namespace {

struct Counts {
  std::int32_t speciesCount;
  std::int32_t siteCount;
  std::int32_t groupCount;
};

// Runs the kernel of `indexType` on one-element arrays with the given counts.
void RunOnCounts(const Counts& counts, std::int32_t indexType, float& table) {
  const float abundance = 2.0f;
  const float presence = 1.0f;
  const std::int32_t siteGroup = 1;
  const std::int32_t groupSize = 1;
  switch (KernelFor(indexType)) {
    case Kernel::AbundancePresence:
      AbundancePresenceIndex(counts.speciesCount, counts.siteCount, counts.groupCount, abundance,
                             siteGroup, groupSize, presence, table);
      break;
    case Kernel::Abundance:
      AbundanceIndex(counts.speciesCount, counts.siteCount, counts.groupCount, siteGroup, groupSize,
                     abundance, table, indexType);
      break;
    case Kernel::Presence:
      PresenceIndex(counts.speciesCount, counts.siteCount, counts.groupCount, siteGroup, groupSize,
                    presence, table, indexType);
      break;
  }
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
      RunOnCounts(testCase.counts, indexType, table);
      EXPECT_TRUE(MatchesFourDecimals(table, testCase.expected)) << "type " << indexType;
    }
  }
  // One species, one group of size 1 and no sites: the totals stay 0.
  for (const std::int32_t siteCount : {-7, 0}) {
    float totals = 123.0f;
    RunOnCounts({1, siteCount, 1}, 0, totals);
    EXPECT_TRUE(MatchesFourDecimals(totals, 0.0f)) << "sites " << siteCount;
  }
}

// Work storage of GroupCount x SpeciesCount entries whose size in bytes does not fit in
// memory's address range, or that the system cannot provide, ends the run.
TEST(KernelEntry, WorkStorageFailureEndsTheRun) {
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
      const CapturedRun run = RunCaptured([&] { RunOnCounts(counts, indexType, table); });
      EXPECT_TRUE(run.ended) << "type " << indexType;
      EXPECT_EQ(run.exitCode, -1) << "type " << indexType;
      EXPECT_EQ(run.error, "? FORTRAN Runtime Error:\n? Buffer allocation failed\n")
          << "type " << indexType;
      EXPECT_EQ(table, 123.0f);
    }
  }
}

}  // namespace
}  // namespace kova::test_support
