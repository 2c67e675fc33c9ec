// The per-step reduction of an index table and the final statistics over the steps.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "driver/randomization_statistics.h"
#include "driver/step_summary.h"

namespace kova {
namespace {

const float kDefaultNaN = std::bit_cast<float>(0xFFC00000U);

StepSummary Summarize(const std::vector<std::vector<float>>& rows) {
  // Rows are species; the table is stored column by column.
  const auto species = static_cast<std::int32_t>(rows.size());
  const auto groups = static_cast<std::int32_t>(rows.empty() ? 0 : rows[0].size());
  std::vector<float> table(static_cast<std::size_t>(species) * static_cast<std::size_t>(groups) +
                           1);
  for (std::int32_t i = 0; i < species; ++i) {
    for (std::int32_t k = 0; k < groups; ++k)
      table[static_cast<std::size_t>(i + k * species)] = rows[i][k];
  }
  std::vector<float> maxima(rows.size() + 1);
  return SummarizeIndexTable(table.data(), species, groups, maxima.data());
}

TEST(StepSummary, KeepsTheFirstOfEqualMagnitudesAndPassesOverNaN) {
  const StepSummary summary =
      Summarize({{0.2f, -0.5f, 0.5f}, {0.3f, kDefaultNaN, 0.1f}, {0.0f, 0.0f, 0.0f}});
  EXPECT_EQ(summary.stepSum, static_cast<float>(0.5 + static_cast<double>(0.3f)));
  EXPECT_EQ(summary.topSpecies, 2);
  EXPECT_EQ(summary.topContribution, 0.3f);
}

TEST(StepSummary, HandlesTiesNegativesAndEmptyRows) {
  struct Case {
    std::vector<std::vector<float>> rows;
    float stepSum;
    std::int32_t topSpecies;
    float topContribution;
  };
  const Case cases[] = {
      {{{0.4f, 0.1f}, {0.1f, 0.4f}}, 0.8f, 1, 0.4f},    // equal maxima: the first species
      {{{-0.4f, 0.1f}, {-0.2f, 0.0f}}, 0.6f, 0, 0.0f},  // only negative maxima
      {{{kDefaultNaN, kDefaultNaN}, {0.0f, 0.0f}}, 0.0f, 0, 0.0f},
      {{{}, {}}, 0.0f, 0, 0.0f},  // no groups
      {{}, 0.0f, 0, 0.0f},        // no species
      {{{0.25f, -0.75f}, {0.5f, 0.5f}}, 1.25f, 2, 0.5f},
  };
  for (const Case& c : cases) {
    const StepSummary summary = Summarize(c.rows);
    EXPECT_FLOAT_EQ(summary.stepSum, c.stepSum);
    EXPECT_EQ(summary.topSpecies, c.topSpecies);
    EXPECT_EQ(summary.topContribution, c.topContribution);
  }
}

TEST(RandomizationStatistics, GivesMeanDeviationAndZScore) {
  SumStatistics statistics;
  AddStepSum(statistics, 1, 2.0f);
  AddStepSum(statistics, 2, 1.0f);
  AddStepSum(statistics, 3, 1.5f);
  EXPECT_EQ(statistics.observedSum, 2.0f);
  EXPECT_EQ(statistics.sumTotal, 4.5f);
  EXPECT_EQ(statistics.sumSquareTotal, 7.25f);
  const FinalStatistics final = Finish(statistics, 3);
  EXPECT_EQ(final.sumDeviation, 0.5f);
  EXPECT_EQ(final.sumMean, 1.5f);
  EXPECT_EQ(final.zScore, 1.0f);
}

TEST(RandomizationStatistics, EqualSumsGiveTheDefaultNaN) {
  SumStatistics statistics;
  AddStepSum(statistics, 1, 1.0f);
  AddStepSum(statistics, 2, 1.0f);
  const FinalStatistics final = Finish(statistics, 2);
  EXPECT_EQ(final.sumDeviation, 0.0f);
  EXPECT_EQ(final.sumMean, 1.0f);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(final.zScore), 0xFFC00000U);
}

TEST(RandomizationStatistics, RoundsTheSquareBeforeAddingIt) {
  // 4097^2 needs 25 bits: rounded to single precision it loses its last unit.
  SumStatistics statistics;
  AddStepSum(statistics, 1, 4097.0f);
  EXPECT_EQ(statistics.sumSquareTotal, static_cast<float>(4097.0 * 4097.0));
  EXPECT_NE(static_cast<double>(statistics.sumSquareTotal), 4097.0 * 4097.0);
}

TEST(RandomizationStatistics, ANegativeVarianceGivesNaN) {
  // Sums whose rounding leaves the variance slightly below zero.
  SumStatistics statistics;
  for (int step = 1; step <= 3; ++step)
    AddStepSum(statistics, step, 0.1f);
  const FinalStatistics final = Finish(statistics, 3);
  const double variance =
      (static_cast<double>(statistics.sumSquareTotal) -
       static_cast<float>(static_cast<double>(statistics.sumTotal) * statistics.sumTotal) / 3.0) /
      2.0;
  if (variance < 0) {
    EXPECT_TRUE(std::isnan(final.sumDeviation));
    EXPECT_TRUE(std::isnan(final.zScore));
  } else {
    EXPECT_FALSE(std::isnan(final.sumDeviation));
  }
}

}  // namespace
}  // namespace kova
