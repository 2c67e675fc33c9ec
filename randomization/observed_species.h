// Each species' strongest value on the observed grouping, for the per-species results: the
// five tables of that grouping computed as the steps compute them, each species' maximum
// found by the summary's rule together with its group; then, at that group, the value and
// APCF's two factors computed once more from the data in double precision, free of the
// tables' rounding, for the report.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "inputs/analysis_data.h"
#include "randomization/bootstrap.h"
#include "randomization/step_computation.h"

namespace kova {

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
  // the rounding of the tables counted (run_statistics.h), the observed step included.
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

// Fills the indicators' groups, maxima and values, the APCF factors and the absent species of
// `species` for the grouping `siteGroups` (the observed one); the counts are left as they are. A
// failure to obtain the tables' storage ends the run with the allocation report.
void FindObservedIndicators(const AnalysisData& data, const StepConstants& constants,
                            const std::int32_t* siteGroups, SpeciesOutcome& species);

// A row's maximum by the summary's rule (the entry of largest magnitude, strictly larger
// than any before it and than 0.0; 0.0 when there is none) and its group: that entry's, or
// without one the first entry of magnitude 0.0, or 0 when every entry is NaN. `row` holds
// `groupCount` entries `stride` apart.
SpeciesIndicator StrongestEntry(const float* row, std::int64_t groupCount, std::int64_t stride);

}  // namespace kova
