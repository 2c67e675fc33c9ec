// What a run produced beyond its report, for a program that shows or saves more than the
// console and "RESULTS.TXT" hold: the final table's values at full precision with the count
// behind the observed sum's p-value, every step's sums, and per species its strongest value
// of each IndexType with the count behind its p-value. A program hands an observer to the
// analysis when it starts it; the analysis calls it on its own thread, never on a worker.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "inputs/analysis_data.h"
#include "randomization/combinations.h"
#include "randomization/association_steps.h"
#include "randomization/observed_species.h"
#include "randomization/run_statistics.h"
#include "randomization/step_computation.h"
#include "randomization/step_workers.h"

namespace kova {

// One IndexType over the whole run.
struct VariantOutcome {
  float observedSum = 0.0f;
  float sumMean = 0.0f;
  float sumDeviation = 0.0f;  // the one the z-score divides by
  float zScore = 0.0f;
  // Steps whose StepSum is at least the observed one, ties within the rounding of the
  // tables counted (run_statistics.h), the observed step included.
  std::int64_t sumsAtLeastObserved = 0;
  // Every step's StepSum in step order, when the observer keeps them.
  std::vector<float> stepSums;
};

struct RunOutcome {
  std::int64_t stepCount = 0;
  std::int32_t speciesCount = 0;
  std::int32_t groupCount = 0;
  std::array<VariantOutcome, kIndexTypeCount> variants;
  std::optional<SpeciesOutcome> species;  // when the observer keeps it
  AssociationRequest associations;        // what the species outcome holds beyond the variants
  std::vector<std::string> speciesNames;  // empty unless the input files named them
  std::vector<std::string> groupLabels;
  // What the run was given: its files, as they were named, and its seed.
  std::string tableFile;
  std::string groupsFile;
  std::int32_t randomSeed = 0;
};

// What a program hands to the analysis to hear of a run. The kept parts cost a little during the run, so
// each is kept only when asked for.
struct RunObserver {
  bool keepsStepSums = false;
  bool keepsSpecies = false;
  // After each step's records are written, with the step and the number of steps.
  std::function<void(std::int64_t step, std::int64_t stepCount)> stepReported;
  // Once, after the last step and the final table and before the stop; not for a run without
  // steps, nor for one that ends early.
  std::function<void(const RunOutcome& outcome)> runCompleted;
};


// Gathers a run's outcome step by step on the analysis thread, as the steps' summaries and
// species maxima are consumed in step order; the counts are integers, so they are the same
// for every number of threads.
class RunOutcomeCollector {
 public:
  // Before the first step: the grouping in `data` is still the observed one. `associations`,
  // when the run asks for them (the observer then keeps species), must outlive the collector.
  RunOutcomeCollector(const AnalysisData& data, const RunObserver& observer,
                      const AssociationSteps* associations = nullptr,
                      const AssociationRequest& request = {});

  // What the steps must hand back for this outcome.
  StepDetail Detail() const;

  // Steps come in order from 1; `speciesMaxima` as StepWorkers::SpeciesMaxima gives them,
  // null unless Detail() asks for them; `associationMaxima` as AssociationSteps::StepBlockMaxima
  // gives them, null unless the run asks for associations.
  void AddStep(std::int64_t step, const StepSummaries& summaries, const float* speciesMaxima,
               const double* associationMaxima = nullptr);

  // After the last step: the final statistics of `statistics` and, when kept, the observed
  // grouping's species indicators (its tables computed once more, in storage obtained here),
  // its associations and their bootstrap intervals, resampled on `threads` threads.
  RunOutcome Finish(const AnalysisData& data, const StepConstants& constants,
                    const std::array<SumStatistics, kIndexTypeCount>& statistics,
                    std::int64_t stepCount, int threads = 1);

 private:
  RunOutcome outcome_;
  bool keepsStepSums_;
  std::int64_t siteCount_;
  std::vector<std::int32_t> observedSiteGroups_;  // empty unless species are kept
  // What a step's value must reach to count as at least the observed one: the observed value
  // less its tie tolerance (run_statistics.h), for each IndexType's StepSum and, type by type, for
  // each species' |SpeciesMaximum|.
  std::array<double, kIndexTypeCount> sumThresholds_{};
  std::vector<double> speciesThresholds_;
  std::vector<std::int32_t> speciesCounts_;  // as speciesThresholds_; no count exceeds the steps
  // The same for the strongest associations, as AssociationSteps::StepBlockMaxima lays them out.
  const AssociationSteps* associations_;
  std::vector<double> associationThresholds_;
  std::vector<std::int64_t> associationCounts_;

  void FinishAssociations(const AnalysisData& data, int threads);
};

}  // namespace kova
