#include "indices/uniform_random.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kova {
namespace {

struct SeedCase {
  std::int32_t start;
  std::array<std::int32_t, 3> seeds;
  std::array<const char*, 3> results;  // to seven significant digits
};

// The result written with seven significant digits, read back.
double ToSevenDigits(float result) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", result);
  return std::strtod(text, nullptr);
}

// The known results are given as printed, to seven significant digits; the float nearest
// such a decimal is often a unit away from the result itself, so the digits are compared.
// SeedRangeParityAndScale checks every result exactly against its seed.
TEST(UniformRandom, FirstThreeCallsFromKnownSeeds) {
  const std::vector<SeedCase> cases = {
      {1, {17105679, 1017076449, 46961913}, {"0.007965453", "0.4736131", "0.02186834"}},
      {12345, {716209751, 715078015, 2071714673}, {"0.3335111", "0.3329841", "0.9647173"}},
      {-7, {2139991121, 1357319103, 1818750257}, {"0.9965110", "0.6320509", "0.8469216"}},
      {2147483647, {2130377969, 1130407199, 2100521735}, {"0.9920346", "0.5263869", "0.9781317"}},
      {0, {0, 0, 0}, {"0.0", "0.0", "0.0"}},
      {-2147483647 - 1, {0, 0, 0}, {"0.0", "0.0", "0.0"}},
  };
  for (const SeedCase& seedCase : cases) {
    std::int32_t seed = seedCase.start;
    for (std::size_t call = 0; call < 3; ++call) {
      const float result = UniformRandom(seed);
      EXPECT_EQ(seed, seedCase.seeds[call]) << "start " << seedCase.start << ", call " << call;
      EXPECT_EQ(ToSevenDigits(result), std::strtod(seedCase.results[call], nullptr))
          << "start " << seedCase.start << ", call " << call;
    }
  }
}

// 2147483583 x 2^-31 is the largest result below 1; from 2147483584 on the product rounds up
// to exactly 1. Each new seed is reached from a positive and from a negative start.
TEST(UniformRandom, ResultReachesOneAtTheTopOfTheRange) {
  const struct {
    std::int32_t start;
    std::int32_t seed;
    std::uint32_t resultBits;
  } cases[] = {
      {810907729, 2147483583, 0x3F7FFFFFu}, {-397934953, 2147483583, 0x3F7FFFFFu},
      {236782656, 2147483584, 0x3F800000u}, {-1250806336, 2147483584, 0x3F800000u},
      {852871383, 2147483647, 0x3F800000u}, {-1573358575, 2147483647, 0x3F800000u},
  };
  for (const auto& testCase : cases) {
    std::int32_t seed = testCase.start;
    const float result = UniformRandom(seed);
    EXPECT_EQ(seed, testCase.seed) << "start " << testCase.start;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(result), testCase.resultBits)
        << "start " << testCase.start;
  }
}

// Along a long sequence: the seed stays in 0..2147483647 and keeps its parity, and the
// result is the seed scaled by 2^-31 and rounded to single precision.
TEST(UniformRandom, SeedRangeParityAndScale) {
  for (const std::int32_t start : {3, -2, 1000000, -123456789}) {
    std::int32_t seed = start;
    for (int call = 0; call < 100000; ++call) {
      const std::int32_t previous = seed;
      const float result = UniformRandom(seed);
      ASSERT_GE(seed, 0) << "start " << start << ", call " << call;
      ASSERT_EQ(seed % 2 != 0, previous % 2 != 0) << "start " << start << ", call " << call;
      ASSERT_EQ(result, static_cast<float>(seed * 0x1p-31)) << "start " << start;
    }
  }
}

}  // namespace
}  // namespace kova
