// The p-values of the randomization test and their adjustments over the species, against
// R's p.adjust on fixed vectors whose results R computed once (p_adjust_cases.txt).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/p_values.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

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
