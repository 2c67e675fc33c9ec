// The shuffle of the sites' group numbers and the recount of the group sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "indices/uniform_random.h"
#include "randomization/site_shuffle.h"

namespace kova {
namespace {

TEST(SiteShuffle, TurnsDrawsIntoSites) {
  const std::pair<float, std::int64_t> cases[] = {{0.0f, 1}, {0.6f, 3},       {0.99f, 4},
                                                  {1.0f, 4}, {0.2499999f, 1}, {0.25f, 2}};
  for (const auto& [u, site] : cases)
    EXPECT_EQ(DrawnSite(u, 4), site) << u;
  EXPECT_EQ(DrawnSite(1.0f, std::numeric_limits<std::int32_t>::max()),
            std::numeric_limits<std::int32_t>::max());
}

TEST(SiteShuffle, ASeedOfZeroRotatesTheGroupsByOneSite) {
  std::vector<std::int32_t> groups = {1, 2, 3, 4, 5};
  std::int32_t seed = 0;
  ShuffleSiteGroups(groups.data(), 5, seed);
  EXPECT_EQ(groups, (std::vector<std::int32_t>{5, 1, 2, 3, 4}));
  ShuffleSiteGroups(groups.data(), 5, seed);
  EXPECT_EQ(groups, (std::vector<std::int32_t>{4, 5, 1, 2, 3}));
}

TEST(SiteShuffle, MakesOneDrawPerSiteAndKeepsTheGroupSizes) {
  std::vector<std::int32_t> groups = {1, 1, 1, 2, 2, 3, 3, 3, 3};
  std::int32_t seed = 12345;
  std::int32_t expectedSeed = 12345;
  for (int draw = 0; draw < 9; ++draw)
    UniformRandom(expectedSeed);
  ShuffleSiteGroups(groups.data(), 9, seed);
  EXPECT_EQ(seed, expectedSeed);

  std::vector<std::int32_t> sizes(3, -1);
  RecountGroupSizes(groups.data(), 9, sizes.data(), 3);
  EXPECT_EQ(sizes, (std::vector<std::int32_t>{3, 2, 4}));
}

TEST(SiteShuffle, FollowsTheDrawsExactly) {
  // Seed 1 draws 0.007965453, 0.4736131 and 0.02186834: sites 1, 2 and 1 of three.
  std::vector<std::int32_t> groups = {10, 20, 30};
  std::int32_t seed = 1;
  ShuffleSiteGroups(groups.data(), 3, seed);
  // j=1 with 1: nothing; j=2 with 2: nothing; j=3 with 1: exchange.
  EXPECT_EQ(groups, (std::vector<std::int32_t>{30, 20, 10}));
}

// Within blocks, each block is shuffled as a table of its own sites, in block order, with the
// same generator carried on; a block's sites keep its groups.
TEST(SiteShuffle, WithinBlocksShufflesEachBlockAsATableOfItsOwn) {
  const std::vector<std::int32_t> start = {1, 2, 1, 2, 3, 3, 1, 2, 3};
  const SiteBlocks blocks = {{0, 2, 4, 6}, {1, 3, 5, 7, 8}};
  std::vector<std::int32_t> groups = start;
  std::int32_t seed = 777;
  std::int32_t expectedSeed = 777;
  std::vector<std::int32_t> expected = start;
  for (const std::vector<std::int32_t>& block : blocks) {
    std::vector<std::int32_t> own;
    for (const std::int32_t site : block)
      own.push_back(start[static_cast<std::size_t>(site)]);
    ShuffleSiteGroups(own.data(), static_cast<std::int32_t>(own.size()), expectedSeed);
    for (std::size_t k = 0; k < block.size(); ++k)
      expected[static_cast<std::size_t>(block[k])] = own[k];
  }
  ShuffleSiteGroupsWithinBlocks(groups.data(), blocks, seed);
  EXPECT_EQ(groups, expected);
  EXPECT_EQ(seed, expectedSeed);
  for (int step = 0; step < 50; ++step) {
    ShuffleSiteGroupsWithinBlocks(groups.data(), blocks, seed);
    for (const std::vector<std::int32_t>& block : blocks) {
      std::vector<std::int32_t> before, after;
      for (const std::int32_t site : block) {
        before.push_back(start[static_cast<std::size_t>(site)]);
        after.push_back(groups[static_cast<std::size_t>(site)]);
      }
      std::sort(before.begin(), before.end());
      std::sort(after.begin(), after.end());
      EXPECT_EQ(after, before);
    }
  }
}

}  // namespace
}  // namespace kova
