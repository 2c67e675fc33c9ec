// The per-species results agree with R's labdsv on the same data: the dune meadows grouped by
// their four moisture classes, whose numeric labels (1, 2, 4, 5) are numbered as R numbers
// the factor's levels. labdsv's indval is APCF: the group, the value to the last digits of a
// double, and the p-value within the noise of two randomizations (tests/peers).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/analysis_main.h"
#include "randomization/run_outcome.h"
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
  std::vector<RunOutcome> outcomes;
  observer.runCompleted = [&outcomes](const RunOutcome& outcome) { outcomes.push_back(outcome); };
  ObserveRuns(observer);
  RunRequest request;
  request.tableFile = (example / "community.csv").string();
  request.tableForm = TableForm::Csv;
  request.groupsFile = (example / "groups.csv").string();
  request.randomSeed = 12345;
  request.randomizationCount = 20000;
  request.consoleSteps = ConsoleSteps::LeftOut;
  const auto previous = fs::current_path();
  fs::current_path(folder.Path());
  const auto run = test_support::RunCaptured([&request] { RunAnalysis(request); });
  fs::current_path(previous);
  ObserveRuns({});
  ASSERT_EQ(run.exitCode, 0) << run.error;
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

}  // namespace
}  // namespace kova
