#include "randomization/run_outcome.h"

#include <cmath>

#include "randomization/observed_species.h"
#include "randomization/run_statistics.h"

namespace kova {
namespace {

RunObserver& ObserverInForce() {
  static RunObserver observer;
  return observer;
}

}  // namespace

void ObserveRuns(RunObserver observer) {
  ObserverInForce() = std::move(observer);
}

const RunObserver& RunObserverInForce() {
  return ObserverInForce();
}

RunOutcomeCollector::RunOutcomeCollector(const AnalysisData& data, const RunObserver& observer)
    : keepsStepSums_(observer.keepsStepSums), siteCount_(data.siteCount) {
  outcome_.speciesCount = data.speciesCount;
  outcome_.groupCount = data.groupCount;
  outcome_.speciesNames = data.speciesNames;
  outcome_.groupLabels = data.groupLabels;
  outcome_.tableFile = data.tableFileName;
  outcome_.groupsFile = data.groupsFileName;
  outcome_.randomSeed = data.randomSeed;  // the seed the steps start from
  if (!observer.keepsSpecies) return;
  const auto species = static_cast<std::size_t>(data.speciesCount > 0 ? data.speciesCount : 0);
  outcome_.species.emplace();
  for (std::vector<SpeciesIndicator>& indicators : outcome_.species->indicators)
    indicators.resize(species);
  outcome_.species->apcfShare.resize(species);
  outcome_.species->apcfFrequency.resize(species);
  outcome_.species->absent.resize(species);
  observedSiteGroups_.assign(data.siteGroups.Data(),
                             data.siteGroups.Data() + data.siteGroups.Size());
  speciesThresholds_.resize(species * kIndexTypeCount);
  speciesCounts_.resize(species * kIndexTypeCount);
}

StepDetail RunOutcomeCollector::Detail() const {
  return outcome_.species ? StepDetail::SpeciesMaxima : StepDetail::Summaries;
}

void RunOutcomeCollector::AddStep(std::int64_t step, const StepSummaries& summaries,
                                  const float* speciesMaxima) {
  for (int type = 0; type < kIndexTypeCount; ++type) {
    VariantOutcome& variant = outcome_.variants[type];
    const float stepSum = summaries[type].stepSum;
    if (step == 1) {
      variant.observedSum = stepSum;
      sumThresholds_[type] =
          stepSum - SumTieTolerance(type + 1, outcome_.speciesCount, siteCount_,
                                    outcome_.groupCount, stepSum);
    }
    // A NaN sum is never at least anything, as the comparison of floats has it.
    if (static_cast<double>(stepSum) >= sumThresholds_[type]) ++variant.sumsAtLeastObserved;
    if (keepsStepSums_) variant.stepSums.push_back(stepSum);
  }
  if (!outcome_.species) return;
  // Magnitudes are compared as the sums add them; a maximum is never NaN.
  const std::size_t entries = speciesThresholds_.size();
  if (step == 1) {
    const std::size_t species = entries / kIndexTypeCount;
    for (std::size_t entry = 0; entry < entries; ++entry) {
      const double observed = std::fabs(speciesMaxima[entry]);
      const int type = static_cast<int>(entry / species) + 1;
      speciesThresholds_[entry] =
          observed - ValueTieTolerance(type, siteCount_, outcome_.groupCount, observed);
    }
  }
  for (std::size_t entry = 0; entry < entries; ++entry) {
    speciesCounts_[entry] +=
        std::fabs(static_cast<double>(speciesMaxima[entry])) >= speciesThresholds_[entry] ? 1 : 0;
  }
}

RunOutcome RunOutcomeCollector::Finish(const AnalysisData& data, const StepConstants& constants,
                                       const std::array<SumStatistics, kIndexTypeCount>& statistics,
                                       std::int64_t stepCount) {
  outcome_.stepCount = stepCount;
  for (int type = 0; type < kIndexTypeCount; ++type) {
    const FinalStatistics final =
        kova::Finish(statistics[type], static_cast<std::int32_t>(stepCount));
    VariantOutcome& variant = outcome_.variants[type];
    variant.sumMean = final.sumMean;
    variant.sumDeviation = final.sumDeviation;
    variant.zScore = final.zScore;
  }
  if (!outcome_.species) return std::move(outcome_);
  FindObservedIndicators(data, constants, observedSiteGroups_.data(), *outcome_.species);
  const std::size_t species = speciesThresholds_.size() / kIndexTypeCount;
  for (int type = 0; type < kIndexTypeCount; ++type) {
    for (std::size_t i = 0; i < species; ++i) {
      outcome_.species->indicators[type][i].stepsAtLeastObserved =
          speciesCounts_[static_cast<std::size_t>(type) * species + i];
    }
  }
  return std::move(outcome_);
}

}  // namespace kova
