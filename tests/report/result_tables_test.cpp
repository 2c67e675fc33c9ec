// The CSV tables of a run's outcome, to the character: their headers with and without group
// labels, names quoted as write.csv quotes them, values in the fewest digits that read back
// the same (the species' values in R's 15 significant digits), and absent species as missing
// values left out of the adjustments.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "report/result_tables.h"

namespace kova {
namespace {

TEST(ResultTables, NumbersInTheFewestDigitsThatReadBackTheSame) {
  const float infinity = std::numeric_limits<float>::infinity();
  const struct {
    float value;
    const char* text;
  } floats[] = {{0.1f, "0.1"},
                {1.0f / 3.0f, "0.33333334"},
                {10.427319f, "10.427319"},
                {0.0f, "0"},
                {-0.0f, "-0"},
                {1e-7f, "1e-07"},
                {-0.5f, "-0.5"},
                {infinity, "Inf"},
                {-infinity, "-Inf"},
                {std::numeric_limits<float>::quiet_NaN(), "NaN"},
                {-std::numeric_limits<float>::quiet_NaN(), "NaN"}};
  for (const auto& c : floats)
    EXPECT_EQ(ShortestText(c.value), c.text) << c.text;
  EXPECT_EQ(ShortestText(1.0 / 999), "0.001001001001001001");
  EXPECT_EQ(ShortestText(1.0), "1");
}

// Three species, two groups, three steps; the second species is absent.
RunOutcome SmallOutcome() {
  RunOutcome outcome;
  outcome.stepCount = 3;
  outcome.speciesCount = 3;
  outcome.groupCount = 2;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int type = 0; type < kIndexTypeCount; ++type) {
    outcome.variants[type] = {1.5f + static_cast<float>(type), 1.25f, 0.5f, 0.5f, 1 + type % 3, {}};
  }
  SpeciesOutcome species;
  for (int type = 0; type < kIndexTypeCount; ++type) {
    const double first = type == 2 ? -0.25 : 0.75;
    // The third species' value is 0.35 but for the last bit of a double's rounding.
    species.indicators[type] = {{2, static_cast<float>(first), first, 1},
                                {type == 0 ? 1 : 0, 0.0f, type == 0 ? 0.0 : nan, 3},
                                {1, 0.35f, 0.1 + 0.25, 2}};
  }
  species.apcfShare = {0.9375, nan, 0.7};
  species.apcfFrequency = {0.8, nan, 0.5};
  species.absent = {false, true, false};
  outcome.species = species;
  return outcome;
}

TEST(ResultTables, SpeciesTableWithoutNames) {
  std::string absent = "2,";
  for (int k = 0; k < 27; ++k)
    absent += ",NA";
  const std::string expected =
      "species,name,"
      "APCF_group,APCF_value,APCF_A,APCF_B,APCF_p,APCF_p_holm,APCF_p_bh,"
      "ACF_group,ACF_value,ACF_p,ACF_p_holm,ACF_p_bh,"
      "ASF_group,ASF_value,ASF_p,ASF_p_holm,ASF_p_bh,"
      "PCF_group,PCF_value,PCF_p,PCF_p_holm,PCF_p_bh,"
      "PSF_group,PSF_value,PSF_p,PSF_p_holm,PSF_p_bh\n"
      // p of 1/3 and 2/3 over the two species present: Holm and BH both give 2/3 to each.
      "1,,2,0.75,0.9375,0.8,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
      "2,0.75,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
      "2,-0.25,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
      "2,0.75,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
      "2,0.75,0.3333333333333333,0.6666666666666666,0.6666666666666666\n" +
      absent + "\n" +
      "3,,1,0.35,0.7,0.5,0.6666666666666666,0.6666666666666666,0.6666666666666666"
      ",1,0.35,0.6666666666666666,0.6666666666666666,0.6666666666666666"
      ",1,0.35,0.6666666666666666,0.6666666666666666,0.6666666666666666"
      ",1,0.35,0.6666666666666666,0.6666666666666666,0.6666666666666666"
      ",1,0.35,0.6666666666666666,0.6666666666666666,0.6666666666666666\n";
  EXPECT_EQ(SpeciesTableText(SmallOutcome()), expected);

  // Without the absent species, the others' adjusted p-values are the same.
  RunOutcome withoutAbsent = SmallOutcome();
  for (auto& indicators : withoutAbsent.species->indicators)
    indicators.erase(indicators.begin() + 1);
  for (auto* column : {&withoutAbsent.species->apcfShare, &withoutAbsent.species->apcfFrequency})
    column->erase(column->begin() + 1);
  withoutAbsent.species->absent = {false, false};
  std::string shorter = expected;
  shorter.erase(shorter.find(absent), absent.size() + 1);
  shorter.replace(shorter.rfind("\n3,"), 3, "\n2,");
  EXPECT_EQ(SpeciesTableText(withoutAbsent), shorter);
}

TEST(ResultTables, SpeciesTableWithNamesAndGroupLabels) {
  RunOutcome outcome = SmallOutcome();
  outcome.speciesNames = {"Achillea \"millefolium\"", "Agrostis, stolonifera", "Airaprae"};
  outcome.groupLabels = {"BF", "HF"};
  const std::string text = SpeciesTableText(outcome);
  const std::string header = text.substr(0, text.find('\n'));
  EXPECT_EQ(header.substr(0, header.find(",ACF_group")),
            "species,name,APCF_group,APCF_label,APCF_value,APCF_A,APCF_B,APCF_p,APCF_p_holm,"
            "APCF_p_bh");
  EXPECT_NE(header.find(",PSF_group,PSF_label,PSF_value,PSF_p,"), std::string::npos);
  EXPECT_NE(text.find("\n1,\"Achillea \"\"millefolium\"\"\",2,\"HF\",0.75,0.9375,0.8,"),
            std::string::npos)
      << text;
  // An absent species: a label column more of NA for every variant.
  std::string absent = "\n2,\"Agrostis, stolonifera\"";
  for (int k = 0; k < 32; ++k)
    absent += ",NA";
  EXPECT_NE(text.find(absent + "\n3,\"Airaprae\",1,\"BF\",0.35,"), std::string::npos) << text;
}

// The statistics beyond the variants follow the variants' columns, as the run asked for them.
TEST(ResultTables, SpeciesTableWithCombinationsCorrelationsAndIntervals) {
  RunOutcome outcome = SmallOutcome();
  outcome.associations.combinations = true;
  outcome.associations.correlation = true;
  outcome.associations.bootstrapResamples = 99;
  SpeciesOutcome& species = *outcome.species;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  species.indicatorValues = {{"1+2", 0.5, 1.0, 0.5, 1}, {}, {"2", 0.25, 0.5, 0.5, 3}};
  species.correlations = {{"2", -0.125, nan, nan, 2}, {}, {"1", 0.75, nan, nan, 1}};
  species.intervals.resize(3);
  species.intervals[0].apcf = {{0.5, 0.875}, {0.75, 1.0}, {0.5, 1.0}};
  species.intervals[0].indicatorValue = {{0.25, 0.75}, {1.0, 1.0}, {0.25, 0.75}};
  const std::string text = SpeciesTableText(outcome);
  const std::string header = text.substr(0, text.find('\n'));
  EXPECT_EQ(header.substr(header.find(",PSF_p_bh") + 9),
            ",APCF_value_lo,APCF_value_hi,APCF_A_lo,APCF_A_hi,APCF_B_lo,APCF_B_hi,"
            "IndVal_groups,IndVal_value,IndVal_A,IndVal_B,IndVal_p,IndVal_p_holm,IndVal_p_bh,"
            "IndVal_value_lo,IndVal_value_hi,IndVal_A_lo,IndVal_A_hi,IndVal_B_lo,IndVal_B_hi,"
            "rg_groups,rg_value,rg_p,rg_p_holm,rg_p_bh");
  // Species 1's IndVal p of 1/3 and r.g p of 2/3 over the two species present.
  const std::string first = text.substr(text.find("\n1,") + 1);
  EXPECT_EQ(first.substr(first.find(",0.5,0.875,")),
            ",0.5,0.875,0.75,1,0.5,1,"
            "\"1+2\",0.5,1,0.5,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
            "0.25,0.75,1,1,0.25,0.75,"
            "\"2\",-0.125,0.6666666666666666,0.6666666666666666,0.6666666666666666\n" +
                first.substr(first.find("\n2,") + 1));
  // The absent species has none of them.
  const std::string absent = text.substr(text.find("\n2,") + 1);
  // Its name, the variants' 27 fields and the 24 of the other statistics.
  EXPECT_EQ(std::count(absent.begin(), absent.begin() + absent.find('\n'), ','), 1 + 27 + 24);
}

TEST(ResultTables, CommunitySummaryOneRowPerVariant) {
  EXPECT_EQ(CommunitySummaryText(SmallOutcome()),
            "index,observed,mean,sd,z,p\n"
            "\"APCF\",1.5,1.25,0.5,0.5,0.3333333333333333\n"
            "\"ACF\",2.5,1.25,0.5,0.5,0.6666666666666666\n"
            "\"ASF\",3.5,1.25,0.5,0.5,1\n"
            "\"PCF\",4.5,1.25,0.5,0.5,0.3333333333333333\n"
            "\"PSF\",5.5,1.25,0.5,0.5,0.6666666666666666\n");
}

}  // namespace
}  // namespace kova
