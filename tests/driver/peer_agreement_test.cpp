// The per-species results agree with R's labdsv on the same data: the dune meadows grouped by
// their four moisture classes, whose numeric labels (1, 2, 4, 5) are numbered as R numbers
// the factor's levels. labdsv's indval is APCF: the group, the value to the last digits of a
// double, and the p-value within the noise of two randomizations (tests/peers). indicspecies'
// multipatt is IndVal.g and r.g over combinations of groups: the same combination and value,
// and p-values within the noise, with permutations free or within blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "driver/analysis_main.h"
#include "randomization/run_outcome.h"
#include "tests/driver/observed_runs.h"
#include "tests/support/console_capture.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

namespace fs = std::filesystem;

struct LabdsvSpecies {
  std::string name;
  int group = 0;
  double value = 0.0;
  double p = 0.0;
};

std::vector<LabdsvSpecies> ReadLabdsv() {
  std::ifstream file(test_support::SourceFolder() / "tests/peers/dune_moisture_labdsv_indval.csv");
  std::string line;
  std::getline(file, line);
  std::vector<LabdsvSpecies> species;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    LabdsvSpecies& s = species.emplace_back();
    std::string field;
    std::getline(fields, field, ',');
    s.name = field.substr(1, field.size() - 2);
    std::getline(fields, field, ',');
    s.group = std::stoi(field);
    std::getline(fields, field, ',');
    s.value = std::stod(field);
    std::getline(fields, field, ',');
    s.p = std::stod(field);
  }
  return species;
}

TEST(PeerAgreement, DuneByMoistureAgreesWithLabdsv) {
  const std::vector<LabdsvSpecies> labdsv = ReadLabdsv();
  ASSERT_EQ(labdsv.size(), 30U);
  test_support::ScratchFolder folder;
  const fs::path example = test_support::SourceFolder() / "examples/dune_moisture";
  RunObserver observer;
  observer.keepsSpecies = true;
  RunRequest request = test_support::Request(example / "community.csv", TableForm::Csv,
                                             example / "groups.csv", 12345, 20000);
  request.consoleSteps = ConsoleSteps::LeftOut;
  const auto run = test_support::RunObserved(request, folder.Path(), observer);
  ASSERT_EQ(run.captured.exitCode, 0) << run.captured.error;
  const std::vector<RunOutcome>& outcomes = run.outcomes;
  ASSERT_EQ(outcomes.size(), 1U);
  const RunOutcome& outcome = outcomes.front();
  EXPECT_EQ(outcome.groupLabels, (std::vector<std::string>{"1", "2", "4", "5"}));

  // The two p-values come from 20,000 and 100,000 randomizations of their own.
  const double steps = request.randomizationCount;
  for (std::size_t i = 0; i < labdsv.size(); ++i) {
    SCOPED_TRACE(labdsv[i].name);
    EXPECT_EQ(outcome.speciesNames[i], labdsv[i].name);
    const SpeciesIndicator& apcf = outcome.species->indicators[0][i];
    EXPECT_EQ(apcf.group, labdsv[i].group);
    EXPECT_NEAR(apcf.value, labdsv[i].value, 1e-12);
    const double p = apcf.stepsAtLeastObserved / steps;
    const double noise = std::sqrt(labdsv[i].p * (1.0 - labdsv[i].p) * (1.0 / steps + 1e-5));
    EXPECT_NEAR(p, labdsv[i].p, 5.0 * noise + 1.0 / steps);
  }
}

struct PeerSpecies {
  std::string groups;
  double value = 0.0;
  double p = 0.0;  // NaN where R gives none
};

// A multipatt table: "name","groups","stat","p" with NA for no p-value.
std::map<std::string, PeerSpecies> ReadMultipatt(const std::string& file) {
  std::ifstream in(test_support::SourceFolder() / "tests/peers" / file);
  std::string line;
  std::getline(in, line);
  std::map<std::string, PeerSpecies> species;
  const auto unquoted = [](const std::string& field) {
    return field.size() >= 2 && field.front() == '"' ? field.substr(1, field.size() - 2) : field;
  };
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name, groups, value, p;
    std::getline(fields, name, ',');
    std::getline(fields, groups, ',');
    std::getline(fields, value, ',');
    std::getline(fields, p, ',');
    species[unquoted(name)] = {unquoted(groups), std::stod(value),
                               p == "NA" ? std::nan("") : std::stod(p)};
  }
  return species;
}

// One run with options on an example, its outcome kept.
RunOutcome RunExample(const std::string& example, const AssociationRequest& associations,
                      const std::string& blocks, std::int32_t steps) {
  test_support::ScratchFolder folder;
  const fs::path source = test_support::SourceFolder() / "examples" / example;
  RunObserver observer;
  observer.keepsSpecies = true;
  RunRequest request = test_support::Request(source / "community.csv", TableForm::Csv,
                                             source / "groups.csv", 4321, steps);
  if (!blocks.empty()) request.blocksFile = (source / blocks).string();
  request.consoleSteps = ConsoleSteps::LeftOut;
  request.associations = associations;
  const auto run = test_support::RunObserved(request, folder.Path(), observer);
  EXPECT_EQ(run.captured.exitCode, 0) << run.captured.error;
  return run.outcomes.empty() ? RunOutcome{} : run.outcomes.front();
}

// Without the blocks, the blocked peer's p-values fail this test for 16 species.
TEST(PeerAgreement, CombinationsAgreeWithMultipatt) {
  struct Case {
    std::string example;
    std::string peerFile;
    bool correlation;
    std::string blocks;
  };
  const Case cases[] = {
      {"dune_management", "dune_management_multipatt_indval_g.csv", false, ""},
      {"dune_management", "dune_management_multipatt_r_g.csv", true, ""},
      {"dune_management", "dune_management_multipatt_indval_g_blocks_use.csv", false, "blocks.csv"},
      {"wetland_kmeans3", "wetland_kmeans3_multipatt_indval_g.csv", false, ""},
      {"wetland_kmeans3", "wetland_kmeans3_multipatt_r_g.csv", true, ""},
  };
  constexpr std::int32_t kSteps = 10000;  // the observed grouping and 9,999 shuffles, as R's
  for (const Case& c : cases) {
    SCOPED_TRACE(c.peerFile);
    const auto peer = ReadMultipatt(c.peerFile);
    AssociationRequest associations;
    associations.combinations = true;
    associations.correlation = c.correlation;
    const RunOutcome outcome = RunExample(c.example, associations, c.blocks, kSteps);
    ASSERT_TRUE(outcome.species);
    const std::vector<SpeciesAssociation>& found =
        c.correlation ? outcome.species->correlations : outcome.species->indicatorValues;
    ASSERT_EQ(found.size(), outcome.speciesNames.size());
    int compared = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
      const auto expected = peer.find(outcome.speciesNames[i]);
      if (expected == peer.end()) continue;
      SCOPED_TRACE(outcome.speciesNames[i]);
      ++compared;
      EXPECT_EQ(found[i].groups, expected->second.groups);
      EXPECT_NEAR(found[i].value, expected->second.value, 1e-12);
      if (std::isnan(expected->second.p)) continue;
      const double p = static_cast<double>(found[i].stepsAtLeastObserved) / kSteps;
      const double q = expected->second.p;
      EXPECT_NEAR(p, q, 5.0 * std::sqrt(q * (1.0 - q) * 2.0 / kSteps) + 2.0 / kSteps);
    }
    EXPECT_EQ(compared, static_cast<int>(peer.size()));
  }
}

}  // namespace
}  // namespace kova
