// The AVX2 and baseline builds of the kernels against each other and against the plain
// species-by-species computation, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <utility>
#include <vector>

#include "indices/kernel_cores.h"
#include "tests/indices/index_problem.h"
#include "tests/indices/reference_kernels.h"

namespace kova::test_support {
namespace {

bool ProcessorHasAvx2() {
  return __builtin_cpu_supports("avx2") != 0;
}

TEST(KernelPaths, TheCallerChoosesTheBuild) {
  EXPECT_EQ(&CoresFor(KernelBuild::Baseline), &BaselineCores());
  EXPECT_EQ(&CoresFor(KernelBuild::Fastest), ProcessorHasAvx2() ? &Avx2Cores() : &BaselineCores());
}

struct Shape {
  std::int32_t speciesCount;
  std::int32_t siteCount;
  std::int32_t groupCount;
  bool leaveLastGroupEmpty;
};

// Species counts that are not multiples of any vector width, one group, empty groups, a
// single species and tables without species or without sites.
const std::vector<Shape> kShapes = {
    {1, 1, 1, false},   {3, 10, 1, false},    {7, 20, 3, true},   {13, 50, 4, false},
    {37, 64, 5, true},  {101, 200, 8, false}, {250, 33, 6, true}, {1000, 17, 2, false},
    {64, 128, 2, true}, {0, 5, 3, false},     {5, 0, 3, false},
};

// Every index type, and one type outside 1..5 for each of the kernels that take one.
const std::vector<std::pair<Kernel, std::int32_t>> kRuns = {
    {Kernel::AbundancePresence, 1}, {Kernel::Abundance, 2}, {Kernel::Abundance, 3},
    {Kernel::Abundance, 0},         {Kernel::Presence, 4},  {Kernel::Presence, 5},
    {Kernel::Presence, 7},
};

std::string Describe(const Shape& shape, std::uint32_t seed, std::int32_t indexType) {
  return "shape " + std::to_string(shape.speciesCount) + "x" + std::to_string(shape.siteCount) +
         "x" + std::to_string(shape.groupCount) + (shape.leaveLastGroupEmpty ? " empty" : "") +
         ", seed " + std::to_string(seed) + ", type " + std::to_string(indexType);
}

TEST(KernelPaths, BothBuildsAgreeWithTheSpeciesOrderComputation) {
  for (const Shape& shape : kShapes) {
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
      const IndexProblem problem = RandomProblem(seed, shape.speciesCount, shape.siteCount,
                                                 shape.groupCount, shape.leaveLastGroupEmpty);
      for (const auto& [kernel, indexType] : kRuns) {
        const std::vector<float> baseline =
            RunKernel(problem, kernel, indexType, KernelBuild::Baseline);
        const std::vector<float> avx2 = RunKernel(problem, kernel, indexType, KernelBuild::Fastest);
        const std::string where = Describe(shape, seed, indexType);
        EXPECT_TRUE(SameBits(avx2, baseline)) << where;
        EXPECT_TRUE(SameBits(baseline, ReferenceIndexTable(problem, kernel, indexType))) << where;
      }
    }
  }
}

// Without AVX2 both runs above take the baseline build; TheCallerChoosesTheBuild shows
// which one ran. The random tables must reach NaNs and negative zeros, or the comparison
// above proves little about them.
TEST(KernelPaths, RandomTablesReachNaNAndNegativeZero) {
  const auto countBits = [](const std::vector<float>& table, std::uint32_t bits) {
    int count = 0;
    for (const float value : table)
      count += std::bit_cast<std::uint32_t>(value) == bits;
    return count;
  };
  int defaultNaNs = 0;
  int negativeZerosOfType3 = 0;
  int negativeZerosOfType5 = 0;
  for (const Shape& shape : kShapes) {
    const IndexProblem problem = RandomProblem(1, shape.speciesCount, shape.siteCount,
                                               shape.groupCount, shape.leaveLastGroupEmpty);
    defaultNaNs += countBits(RunKernel(problem, Kernel::AbundancePresence, 1), 0xFFC00000u);
    negativeZerosOfType3 += countBits(RunKernel(problem, Kernel::Abundance, 3), 0x80000000u);
    negativeZerosOfType5 += countBits(RunKernel(problem, Kernel::Presence, 5), 0x80000000u);
  }
  EXPECT_GT(defaultNaNs, 0);
  EXPECT_GT(negativeZerosOfType3, 0);
  EXPECT_GT(negativeZerosOfType5, 0);
}

}  // namespace
}  // namespace kova::test_support
