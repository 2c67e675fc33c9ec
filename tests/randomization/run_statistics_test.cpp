// The statistics of a run: the per-step reduction of an index table, the final statistics over
// the steps, and the p-values' adjustments for testing many species, against R's p.adjust on
// fixed vectors whose results R computed once (p_adjust_cases.txt).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "randomization/run_statistics.h"
#include "tests/support/scratch_folder.h"

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



struct AdjustmentCase {
  std::string name;
  std::vector<double> p;
  std::vector<double> holm;
  std::vector<double> benjaminiHochberg;
};

std::vector<double> Numbers(std::istringstream& line) {
  std::vector<double> numbers;
  for (std::string word; line >> word;)
    numbers.push_back(std::stod(word));
  return numbers;
}

std::vector<AdjustmentCase> ReadCases() {
  std::ifstream file(test_support::SourceFolder() / "tests/driver/p_adjust_cases.txt");
  std::vector<AdjustmentCase> cases;
  for (std::string text; std::getline(file, text);) {
    std::istringstream line(text);
    std::string key;
    line >> key;
    if (key == "case") {
      cases.emplace_back();
      line >> cases.back().name;
    } else if (key == "p") {
      cases.back().p = Numbers(line);
    } else if (key == "holm") {
      cases.back().holm = Numbers(line);
    } else if (key == "BH") {
      cases.back().benjaminiHochberg = Numbers(line);
    }
  }
  return cases;
}

void ExpectEqual(const std::vector<double>& actual, const std::vector<double>& expected,
                 const std::string& where) {
  ASSERT_EQ(actual.size(), expected.size()) << where;
  for (std::size_t k = 0; k < actual.size(); ++k)
    EXPECT_DOUBLE_EQ(actual[k], expected[k]) << where << ", value " << k + 1;
}

TEST(PValues, AdjustmentsAreThoseOfRsPAdjust) {
  const std::vector<AdjustmentCase> cases = ReadCases();
  ASSERT_EQ(cases.size(), 8U);
  for (const AdjustmentCase& c : cases) {
    ASSERT_EQ(c.holm.size(), c.p.size()) << c.name;
    ExpectEqual(HolmAdjusted(c.p), c.holm, c.name + ", holm");
    ExpectEqual(BenjaminiHochbergAdjusted(c.p), c.benjaminiHochberg, c.name + ", BH");
  }
  EXPECT_TRUE(HolmAdjusted({}).empty());
  EXPECT_TRUE(BenjaminiHochbergAdjusted({}).empty());
}

TEST(PValues, TheObservedStepCountsAmongTheSteps) {
  const struct {
    std::int64_t atLeast, steps;
    double p;
  } cases[] = {{1, 999, 1.0 / 999}, {999, 999, 1.0}, {1, 1, 1.0}, {250, 1000, 0.25}};
  for (const auto& c : cases)
    EXPECT_EQ(RandomizationPValue(c.atLeast, c.steps), c.p) << c.atLeast << "/" << c.steps;
}

}  // namespace
}  // namespace kova
