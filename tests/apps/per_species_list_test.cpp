// The species window's list: the rows of a variant in the order of p with absent species
// last, each column sorted both ways with ties in the species' order, cells shown to a few
// digits, bold at p at most 0.05, and copied rows as tab-separated text at full precision.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "apps/per_species_list.h"

namespace kova {
namespace {

// Four species, two labelled groups, twenty steps; the third species is absent.
RunOutcome LabelledOutcome() {
  RunOutcome outcome;
  outcome.stepCount = 20;
  outcome.speciesCount = 4;
  outcome.groupCount = 2;
  outcome.speciesNames = {"Achimill", "Agrostol", "Airaprae", "Alopgeni"};
  outcome.groupLabels = {"BF", "SF"};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  SpeciesOutcome species;
  for (int type = 0; type < kIndexTypeCount; ++type) {
    species.indicators[type] = {{2, 0.5f, 0.5, 2},
                                {1, 0.8f, 0.8, 1},
                                {0, 0.0f, nan, 20},
                                {1, 0.3f, 0.1 + 0.2, 1}};  // 0.3 but for the last bit
  }
  species.apcfShare = {0.625, 0.8, nan, 0.5};
  species.apcfFrequency = {0.8, 1.0, nan, 0.5};
  species.absent = {false, false, true, false};
  outcome.species = species;
  return outcome;
}

// The rows shown, each as its cells joined by '|'.
std::vector<std::string> Shown(const SpeciesList& list) {
  std::vector<std::string> rows;
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    std::string text;
    for (const SpeciesColumn column : list.Columns())
      text += (text.empty() ? "" : "|") + list.Cell(row, column);
    rows.push_back(text + (list.Significant(row) ? " bold" : ""));
  }
  return rows;
}

TEST(SpeciesList, RowsStartInTheOrderOfPWithAbsentSpeciesLast) {
  const RunOutcome outcome = LabelledOutcome();
  const SpeciesList apcf(outcome, 1);
  EXPECT_EQ(Shown(apcf), (std::vector<std::string>{
                             "2|Agrostol|BF|0.8000|0.8000|1.0000|0.05|0.15|0.075 bold",
                             "4|Alopgeni|BF|0.3000|0.5000|0.5000|0.05|0.15|0.075 bold",
                             "1|Achimill|SF|0.5000|0.6250|0.8000|0.1|0.15|0.1",
                             "3|Airaprae|NA|NA|NA|NA|NA|NA|NA",
                         }));
  // A and B are APCF's two factors; the other variants have neither.
  const SpeciesList psf(outcome, 5);
  EXPECT_EQ(Shown(psf)[0], "2|Agrostol|BF|0.8000|0.05|0.15|0.075 bold");
}

TEST(SpeciesList, EachColumnSortsBothWaysWithMissingValuesLast) {
  const RunOutcome outcome = LabelledOutcome();
  const struct {
    SpeciesColumn column;
    bool ascending;
    std::vector<std::string> firstCells;  // the species numbers, top to bottom
  } cases[] = {
      {SpeciesColumn::Number, false, {"4", "3", "2", "1"}},
      {SpeciesColumn::Name, true, {"1", "2", "3", "4"}},
      {SpeciesColumn::Name, false, {"4", "3", "2", "1"}},
      {SpeciesColumn::Group, true, {"2", "4", "1", "3"}},
      {SpeciesColumn::Group, false, {"1", "2", "4", "3"}},
      {SpeciesColumn::Value, true, {"4", "1", "2", "3"}},
      {SpeciesColumn::Value, false, {"2", "1", "4", "3"}},
      {SpeciesColumn::A, false, {"2", "1", "4", "3"}},
      {SpeciesColumn::B, true, {"4", "1", "2", "3"}},
      {SpeciesColumn::P, false, {"1", "2", "4", "3"}},
      {SpeciesColumn::Holm, true, {"1", "2", "4", "3"}},
      {SpeciesColumn::BenjaminiHochberg, false, {"1", "2", "4", "3"}},
  };
  for (const auto& c : cases) {
    SpeciesList list(outcome, 1);
    list.SortBy(SpeciesColumn::Value, true);  // an order the next sort must not depend on
    list.SortBy(c.column, c.ascending);
    std::vector<std::string> numbers;
    for (std::size_t row = 0; row < list.RowCount(); ++row)
      numbers.push_back(list.Cell(row, SpeciesColumn::Number));
    EXPECT_EQ(numbers, c.firstCells) << SpeciesList::Title(c.column) << " " << c.ascending;
  }
}

TEST(SpeciesList, CopiedRowsAreTabSeparatedWithAHeaderAtFullPrecision) {
  const RunOutcome outcome = LabelledOutcome();
  const SpeciesList apcf(outcome, 1);
  EXPECT_EQ(apcf.TabSeparated({1, 3}),
            "species\tname\tgroup\tvalue\tA\tB\tp\tp Holm\tp BH\n"
            "4\tAlopgeni\tBF\t0.3\t0.5\t0.5\t0.05\t0.15000000000000002\t0.07500000000000001\n"
            "3\tAiraprae\tNA\tNA\tNA\tNA\tNA\tNA\tNA\n");
  const SpeciesList acf(outcome, 2);
  EXPECT_EQ(acf.TabSeparated({}), "species\tname\tgroup\tvalue\tp\tp Holm\tp BH\n");
}

}  // namespace
}  // namespace kova
