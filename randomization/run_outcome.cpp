#include "randomization/run_outcome.h"

#include <cmath>

#include "randomization/observed_species.h"
#include "randomization/run_statistics.h"

namespace kova {
RunOutcomeCollector::RunOutcomeCollector(const AnalysisData& data, const RunObserver& observer,
                                         const AssociationSteps* associations,
                                         const AssociationRequest& request)
    : keepsStepSums_(observer.keepsStepSums), siteCount_(data.siteCount),
      associations_(observer.keepsSpecies ? associations : nullptr) {
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
  outcome_.associations = request;
  if (associations_ == nullptr) return;
  associationThresholds_.resize(associations_->ValuesPerStep());
  associationCounts_.resize(associations_->ValuesPerStep());
}

StepDetail RunOutcomeCollector::Detail() const {
  return outcome_.species ? StepDetail::SpeciesMaxima : StepDetail::Summaries;
}

void RunOutcomeCollector::AddStep(std::int64_t step, const StepSummaries& summaries,
                                  const float* speciesMaxima, const double* associationMaxima) {
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
  if (associations_ == nullptr || associationMaxima == nullptr) return;
  if (step == 1) {
    for (std::size_t entry = 0; entry < associationThresholds_.size(); ++entry)
      associationThresholds_[entry] = AssociationThreshold(associationMaxima[entry]);
  }
  // A NaN threshold (a species present nowhere) is never reached.
  for (std::size_t entry = 0; entry < associationThresholds_.size(); ++entry)
    associationCounts_[entry] += associationMaxima[entry] >= associationThresholds_[entry] ? 1 : 0;
}

// The observed grouping's strongest associations with their combinations, the counts behind
// their p-values and, when asked for, the bootstrap intervals of APCF and IndVal at the groups
// and combinations observed.
void RunOutcomeCollector::FinishAssociations(const AnalysisData& data, int threads) {
  SpeciesOutcome& species = *outcome_.species;
  const std::size_t speciesCount = species.absent.size();
  const std::int64_t* counts = associationCounts_.data();
  std::vector<Association> indicator;
  std::vector<Association> correlation;
  const auto keep = [&](const std::vector<Association>& strongest, const CombinationList& list,
                        std::vector<SpeciesAssociation>& into) {
    if (strongest.empty()) return;
    into.resize(speciesCount);
    for (std::size_t i = 0; i < speciesCount; ++i) {
      const Association& association = strongest[i];
      SpeciesAssociation& kept = into[i];
      if (association.combination >= 0) {
        kept.groups = CombinationName(list.sets[static_cast<std::size_t>(association.combination)],
                                      data.groupLabels);
        kept.value = association.value;
        kept.a = association.a;
        kept.b = association.b;
      }
      kept.stepsAtLeastObserved = *counts++;
    }
  };
  if (associations_ != nullptr) {
    associations_->Strongest(observedSiteGroups_.data(), indicator, correlation);
    keep(indicator, associations_->IndicatorCombinations(), species.indicatorValues);
    keep(correlation, associations_->CorrelationCombinations(), species.correlations);
  }
  const AssociationRequest& asked = outcome_.associations;
  if (asked.bootstrapResamples <= 0) return;
  std::vector<BootstrapTarget> targets(speciesCount);
  for (std::size_t i = 0; i < speciesCount; ++i) {
    targets[i].group = species.indicators[0][i].group;
    if (!indicator.empty()) targets[i].combination = indicator[i].combination;
  }
  BootstrapPlan plan;
  plan.resamples = asked.bootstrapResamples;
  plan.level = asked.confidenceLevel;
  plan.seed = outcome_.randomSeed;
  plan.threads = threads;
  if (!indicator.empty()) plan.combinations = &associations_->IndicatorCombinations();
  species.intervals = BootstrapIntervals(data, observedSiteGroups_.data(), targets, plan);
}

RunOutcome RunOutcomeCollector::Finish(const AnalysisData& data, const StepConstants& constants,
                                       const std::array<SumStatistics, kIndexTypeCount>& statistics,
                                       std::int64_t stepCount, int threads) {
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
  FinishAssociations(data, threads);
  return std::move(outcome_);
}

}  // namespace kova
