// The seed check against the plain way of finding a repeat: remembering every new seed.
#include "inputs/seed_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <unordered_set>
#include <vector>

#include "indices/uniform_random.h"

namespace kova {
namespace {

constexpr std::int32_t kLowestSeed = std::numeric_limits<std::int32_t>::min();

std::int64_t DirectFirstRepeatingDraw(std::int32_t seed, std::int64_t draws) {
  std::unordered_set<std::int32_t> seen;
  for (std::int64_t draw = 1; draw <= draws; ++draw) {
    UniformRandom(seed);
    if (!seen.insert(seed).second) return draw;
  }
  return 0;
}

// Powers of two times a few odd numbers: the more factors of two a seed has, the sooner
// its sequence repeats, so these straddle any bound.
std::vector<std::int32_t> SeedsOfEveryParity() {
  std::vector<std::int32_t> seeds = {0, kLowestSeed, -7, 2147483647};
  for (const std::uint32_t odd : {1U, 3U, 5U, 12345U, 0xFFFFFFFFU, 999999U, 0x5BD1E995U}) {
    for (int shift = 0; shift < 32; ++shift)
      seeds.push_back(static_cast<std::int32_t>(odd << shift));
  }
  return seeds;
}

TEST(SeedCheck, FindsTheFirstRepeatingDrawAsADirectSimulationDoes) {
  constexpr std::int64_t kDraws = 5000;
  int repeating = 0;
  for (const std::int32_t seed : SeedsOfEveryParity()) {
    const std::int64_t direct = DirectFirstRepeatingDraw(seed, kDraws);
    EXPECT_EQ(FirstRepeatingDraw(seed, kDraws), direct) << "seed " << seed;
    if (direct == 0) continue;
    ++repeating;
    // Exactly at the bound it counts; one draw short of the repeat it does not.
    EXPECT_EQ(FirstRepeatingDraw(seed, direct), direct) << "seed " << seed;
    EXPECT_EQ(FirstRepeatingDraw(seed, direct - 1), 0) << "seed " << seed;
  }
  // Both kinds of seed are among them, or the comparison proves little.
  EXPECT_GT(repeating, 50);
  EXPECT_LT(repeating, 200);
}

TEST(SeedCheck, SeedsNamedInTheReadmeOverTheLongestCheck) {
  const struct {
    std::int32_t seed;
    bool repeats;
  } cases[] = {
      {0, true}, {1 << 24, true}, {1 << 30, true}, {kLowestSeed, true},
      // Every odd seed ends in a cycle of 931,166 draws; 1 reaches its repeat at draw
      // 959,788, 12345 only after 2^20 draws.
      {1, true}, {12345, false},
  };
  for (const auto& c : cases) {
    const std::int64_t direct = DirectFirstRepeatingDraw(c.seed, kLongestSeedCheck);
    EXPECT_EQ(FirstRepeatingDraw(c.seed, kLongestSeedCheck), direct) << "seed " << c.seed;
    EXPECT_EQ(direct != 0, c.repeats) << "seed " << c.seed;
  }
}

// The README promises that an odd seed passes every run of up to 931,166 draws.
TEST(SeedCheck, NoOddSeedRepeatsWithinTheCycleOfOddSeeds) {
  constexpr std::int64_t kOddCycle = 931166;
  for (std::uint32_t seed = 1; seed < 0x80000000U; seed += 0x2468ACE) {
    EXPECT_EQ(FirstRepeatingDraw(static_cast<std::int32_t>(seed | 1U), kOddCycle), 0) << seed;
  }
  // A seed on the cycle repeats its first draw one cycle later.
  EXPECT_EQ(FirstRepeatingDraw(638582471, kOddCycle + 1), kOddCycle + 1);
}

TEST(SeedCheck, TheRunsDrawsBoundTheCheck) {
  constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t sites;
    std::int32_t randomizations;
    std::int64_t draws;
  } cases[] = {
      {20, 1, 0},     {20, 0, 0},      {20, -5, 0},
      {20, 2, 20},    {20, 20, 380},   {1000, 999, 998000}, {1000, 1050, kLongestSeedCheck},
      {kLargest, kLargest, kLongestSeedCheck},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DrawsToCheck(c.sites, c.randomizations), c.draws)
        << c.sites << " sites, " << c.randomizations << " randomizations";
  }
}

}  // namespace
}  // namespace kova
