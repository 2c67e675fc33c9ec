// What a run produced beyond its report, for a program that shows or saves more than the
// console and "RESULTS.TXT" hold: the final table's values at full precision with the count
// behind the observed sum's p-value, every step's sums, and per species its strongest value
// of each IndexType with the count behind its p-value. A program registers an observer
// before the analysis starts; the analysis calls it on its own thread, never on a worker.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "driver/analysis_data.h"
#include "driver/bootstrap.h"
#include "driver/combinations.h"
#include "driver/run_statistics.h"
#include "driver/step_computation.h"
#include "driver/step_workers.h"

namespace kova {

// One IndexType over the whole run.
struct VariantOutcome {
  float observedSum = 0.0f;
  float sumMean = 0.0f;
  float sumDeviation = 0.0f;  // the one the z-score divides by
  float zScore = 0.0f;
  // Steps whose StepSum is at least the observed one, ties within the rounding of the
  // tables counted (p_values.h), the observed step included.
  std::int64_t sumsAtLeastObserved = 0;
  // Every step's StepSum in step order, when the observer keeps them.
  std::vector<float> stepSums;
};

// One species' strongest value of one IndexType on the observed grouping.
struct SpeciesIndicator {
  // The group of the entry of largest magnitude, the first of equal ones; 0 when no entry
  // has the maximum's magnitude (every entry NaN, or no groups).
  std::int32_t group = 0;
  float maximum = 0.0f;  // SpeciesMaximum, as the step's summary has it
  // The value at `group` computed from the data in double precision by the same formula, as
  // the per-species results report it (the float maximum carries the tables' rounding); NaN
  // without a group.
  double value = std::numeric_limits<double>::quiet_NaN();
  // Steps in which the species' maximum has at least the observed magnitude, ties within
  // the rounding of the tables counted (p_values.h), the observed step included.
  std::int64_t stepsAtLeastObserved = 0;
};

// One species' strongest association of a statistic over combinations of groups, on the
// observed grouping, computed in double precision.
struct SpeciesAssociation {
  std::string groups;  // the combination's labels (or numbers) joined by "+"; empty without one
  double value = std::numeric_limits<double>::quiet_NaN();
  double a = std::numeric_limits<double>::quiet_NaN();  // IndVal only
  double b = std::numeric_limits<double>::quiet_NaN();
  // Steps whose strongest value reaches the observed one, ties counted, the observed included.
  std::int64_t stepsAtLeastObserved = 0;
};

struct SpeciesOutcome {
  // By IndexType, then species.
  std::array<std::vector<SpeciesIndicator>, kIndexTypeCount> indicators;
  // The two factors of APCF at each species' APCF group, in double precision (NaN where it
  // has none): the group's share of the species' summed group means, and the species'
  // frequency in the group.
  std::vector<double> apcfShare;
  std::vector<double> apcfFrequency;
  // Species present at no site (no abundance above 0): they indicate nothing, and their
  // p-values, always 1, are no test.
  std::vector<bool> absent;
  // As the run was asked for them (AssociationRequest): IndVal over combinations of groups,
  // r.g, and bootstrap intervals of APCF (and of IndVal). Empty when not asked for.
  std::vector<SpeciesAssociation> indicatorValues;
  std::vector<SpeciesAssociation> correlations;
  std::vector<SpeciesIntervals> intervals;
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

// What a program registers to hear of a run. The kept parts cost a little during the run, so
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

// Registers the observer of the runs to come (an empty one hears nothing).
void ObserveRuns(RunObserver observer);
const RunObserver& RunObserverInForce();

// Gathers a run's outcome step by step on the analysis thread, as the steps' summaries and
// species maxima are consumed in step order; the counts are integers, so they are the same
// for every number of threads.
class RunOutcomeCollector {
 public:
  // Before the first step: the grouping in `data` is still the observed one.
  RunOutcomeCollector(const AnalysisData& data, const RunObserver& observer);

  // What the steps must hand back for this outcome.
  StepDetail Detail() const;

  // Steps come in order from 1; `speciesMaxima` as StepWorkers::SpeciesMaxima gives them,
  // null unless Detail() asks for them.
  void AddStep(std::int64_t step, const StepSummaries& summaries, const float* speciesMaxima);

  // After the last step: the final statistics of `statistics` and, when kept, the observed
  // grouping's species indicators (its tables computed once more, in storage obtained here).
  RunOutcome Finish(const AnalysisData& data, const StepConstants& constants,
                    const std::array<SumStatistics, kIndexTypeCount>& statistics,
                    std::int64_t stepCount);

 private:
  RunOutcome outcome_;
  bool keepsStepSums_;
  std::int64_t siteCount_;
  std::vector<std::int32_t> observedSiteGroups_;  // empty unless species are kept
  // What a step's value must reach to count as at least the observed one: the observed value
  // less its tie tolerance (p_values.h), for each IndexType's StepSum and, type by type, for
  // each species' |SpeciesMaximum|.
  std::array<double, kIndexTypeCount> sumThresholds_{};
  std::vector<double> speciesThresholds_;
  std::vector<std::int32_t> speciesCounts_;  // as speciesThresholds_; no count exceeds the steps
};

}  // namespace kova
