// Bootstrap confidence intervals of the species' indicator values at their groups: the sites
// are resampled with replacement within each group (stratified, so that no group is ever
// empty and every group keeps its size), the values are computed anew in double precision on
// every resample, and the interval is the central share `level` of them (R's quantile(),
// type 7). Each resample has its own generator, seeded from the run's seed and its number, so
// the intervals are the same for any number of threads.
#pragma once

#include <cstdint>
#include <vector>

#include "inputs/analysis_data.h"
#include "randomization/combinations.h"

namespace kova {

// The sites of resample `resample` (from 0): for each site in site order, the site whose
// abundances it takes, drawn from the sites of its own group.
std::vector<std::int32_t> ResampledSites(const std::int32_t* siteGroups, std::int32_t siteCount,
                                         std::int32_t groupCount, std::int32_t seed,
                                         std::int64_t resample);

// The quantile of `sorted` (finite values in increasing order) at `share`, as R's quantile()
// computes its default type 7; NaN without values.
double Quantile(const std::vector<double>& sorted, double share);

struct Interval {
  double low = 0.0;
  double high = 0.0;
};

// One statistic's intervals: the value and its two factors A and B.
struct FactorIntervals {
  Interval value;
  Interval a;
  Interval b;
};

// What one species is resampled for: APCF at `group` (from 1; 0 for none) and, when a list of
// combinations is given, IndVal at `combination` (its index there; -1 for none).
struct BootstrapTarget {
  std::int32_t group = 0;
  int combination = -1;
};

struct SpeciesIntervals {
  FactorIntervals apcf;
  FactorIntervals indicatorValue;  // when combinations are resampled
};

struct BootstrapPlan {
  std::int64_t resamples = 0;
  double level = 0.95;
  std::int32_t seed = 0;
  int threads = 1;
  const CombinationList* combinations = nullptr;  // null: APCF only
};

// The intervals of every species of `data` on the grouping `siteGroups`. Resamples in which
// a value is not a number (the species drawn at none of its sites) are left out of its
// interval. Returns nothing when the storage cannot be obtained.
std::vector<SpeciesIntervals> BootstrapIntervals(const AnalysisData& data,
                                                 const std::int32_t* siteGroups,
                                                 const std::vector<BootstrapTarget>& targets,
                                                 const BootstrapPlan& plan);

}  // namespace kova
