// Indicator values computed in double precision, free of the single-precision tables'
// rounding: from sums over the sites in site order in double precision, by the formulas of the
// index tables. The per-species results report these; the tests count exact ties with them.
#pragma once

#include <cstdint>
#include <vector>

#include "inputs/analysis_data.h"

namespace kova {

// The quantities behind every species' values by group, summed over the sites in site order:
// the group totals T, the occupied-site counts F, the deviation sums D behind the evenness
// and the sums of squared abundances behind a correlation, group by group (GroupCount x
// SpeciesCount each).
struct ExactSums {
  std::vector<double> totals;
  std::vector<double> occupied;
  std::vector<double> deviations;
  std::vector<double> squares;
};

// The sums of every species for the grouping `siteGroups` with the group sizes `groupSizes`
// (one entry per group; every group number of `siteGroups` within them).
ExactSums SumOverSites(const AnalysisData& data, const std::int32_t* siteGroups,
                       const std::vector<std::int32_t>& groupSizes);

// One species' values of every IndexType at every group, by the formulas of the index tables
// evaluated in double precision from its exact sums.
class ExactSpeciesValues {
 public:
  // Species `species` (from 0) of `speciesCount`; `sums` and `groupSizes` must outlive this.
  ExactSpeciesValues(const ExactSums& sums, const std::vector<std::int32_t>& groupSizes,
                     std::size_t species, std::size_t speciesCount);

  // Present at no site: no abundance above 0.
  bool Absent() const { return occupiedSites_ == 0.0; }
  // APCF's factors at group j (from 0): the share of the summed group means, the frequency.
  double Share(std::size_t j) const { return Mean(j) / meanSum_; }
  double Frequency(std::size_t j) const { return Occupied(j) / sizes_[j]; }
  // The value of `indexType` (1 to 5) at group j (from 0).
  double Value(int indexType, std::size_t j) const;

 private:
  double Total(std::size_t j) const { return sums_.totals[j * stride_ + species_]; }
  double Occupied(std::size_t j) const { return sums_.occupied[j * stride_ + species_]; }
  double Mean(std::size_t j) const { return Total(j) / sizes_[j]; }
  double Evenness(std::size_t j) const;

  const ExactSums& sums_;
  const std::vector<std::int32_t>& sizes_;
  std::size_t species_;
  std::size_t stride_;
  double meanSum_ = 0.0;
  double largestMean_ = 0.0;
  double occupiedSites_ = 0.0;
  double frequencySum_ = 0.0;
  double largestFrequency_ = 0.0;
};

}  // namespace kova
