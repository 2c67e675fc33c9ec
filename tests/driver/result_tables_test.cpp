// The CSV tables of a run's outcome, to the character: their headers with and without group
// labels, names quoted as write.csv quotes them, values in the fewest digits that read back
// the same, and rows of species without a group.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "driver/result_tables.h"

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

// Two species, two groups, three steps.
RunOutcome SmallOutcome() {
  RunOutcome outcome;
  outcome.stepCount = 3;
  outcome.speciesCount = 2;
  outcome.groupCount = 2;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (int type = 0; type < kIndexTypeCount; ++type) {
    outcome.variants[type] = {1.5f + static_cast<float>(type), 1.25f, 0.5f, 0.5f, 1 + type % 3, {}};
  }
  SpeciesOutcome species;
  for (int type = 0; type < kIndexTypeCount; ++type) {
    // Species 1 indicates group 2; species 2 is absent: zeros for APCF, NaN rows elsewhere.
    species.indicators[type] = {{2, type == 2 ? -0.25f : 0.75f, 1}, {type == 0 ? 1 : 0, 0.0f, 3}};
  }
  species.apcfShare = {0.9f, 0.0f};
  species.apcfFrequency = {0.8f, nan};
  outcome.species = species;
  return outcome;
}

TEST(ResultTables, SpeciesTableWithoutNames) {
  const std::string expected =
      "species,name,"
      "APCF_group,APCF_value,APCF_A,APCF_B,APCF_p,APCF_p_holm,APCF_p_bh,"
      "ACF_group,ACF_value,ACF_p,ACF_p_holm,ACF_p_bh,"
      "ASF_group,ASF_value,ASF_p,ASF_p_holm,ASF_p_bh,"
      "PCF_group,PCF_value,PCF_p,PCF_p_holm,PCF_p_bh,"
      "PSF_group,PSF_value,PSF_p,PSF_p_holm,PSF_p_bh\n"
      // p of species 1 is 1/3: Holm doubles it, BH leaves it at 2/1 x 1/3 then 1 caps nothing.
      "1,,2,0.75,0.9,0.8,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
      "2,0.75,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
      "2,-0.25,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
      "2,0.75,0.3333333333333333,0.6666666666666666,0.6666666666666666,"
      "2,0.75,0.3333333333333333,0.6666666666666666,0.6666666666666666\n"
      "2,,1,0,0,NaN,1,1,1,,0,1,1,1,,0,1,1,1,,0,1,1,1,,0,1,1,1\n";
  EXPECT_EQ(SpeciesTableText(SmallOutcome()), expected);
}

TEST(ResultTables, SpeciesTableWithNamesAndGroupLabels) {
  RunOutcome outcome = SmallOutcome();
  outcome.speciesNames = {"Achillea \"millefolium\"", "Agrostis, stolonifera"};
  outcome.groupLabels = {"BF", "HF"};
  const std::string text = SpeciesTableText(outcome);
  const std::string header = text.substr(0, text.find('\n'));
  EXPECT_EQ(header.substr(0, header.find(",ACF_group")),
            "species,name,APCF_group,APCF_label,APCF_value,APCF_A,APCF_B,APCF_p,APCF_p_holm,"
            "APCF_p_bh");
  EXPECT_NE(header.find(",PSF_group,PSF_label,PSF_value,PSF_p,"), std::string::npos);
  EXPECT_NE(text.find("\n1,\"Achillea \"\"millefolium\"\"\",2,\"HF\",0.75,0.9,0.8,"),
            std::string::npos)
      << text;
  // No group, no label.
  EXPECT_NE(text.find("\n2,\"Agrostis, stolonifera\",1,\"BF\",0,0,NaN,1,1,1,,,0,1,1,1,"),
            std::string::npos)
      << text;
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
