// The shuffle of the sites' group numbers and the recount of the group sizes.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kova
