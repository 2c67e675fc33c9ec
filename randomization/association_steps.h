// The associations of every species with combinations of groups (IndVal.g and r.g) for one
// grouping, as each step of a run that asks for them computes them: the species' group sums in
// double precision, summed site by site in site order as the observed values are (the step
// passes add them while they read the table for the index tables), then every combination
// from them. The strongest value of each species is what its p-value counts.
#pragma once

#include <cstdint>
#include <vector>

#include "indices/kernel_cores.h"
#include "inputs/analysis_data.h"
#include "randomization/combinations.h"
#include "randomization/exact_values.h"

namespace kova {

class AssociationSteps {
 public:
  // The combinations `request` asks for with the groups of `data`: IndVal over orders 1 to the
  // largest asked (every group when none is), r.g over single groups or, with combinations,
  // orders up to one less than the number of groups.
  AssociationSteps(const AnalysisData& data, const AssociationRequest& request);

  bool IndicatorValues() const { return request_.combinations; }
  bool Correlations() const { return request_.correlation; }
  const CombinationList& IndicatorCombinations() const { return indicatorList_; }
  const CombinationList& CorrelationCombinations() const { return correlationList_; }

  // The values one step hands back: a species' strongest IndVal, then its strongest r.g, each
  // for every species in species order, as far as they are asked for.
  std::size_t ValuesPerStep() const;

  // The double sums the step passes add for these associations.
  ExtraSums PassSums() const;
  // The doubles of scratch storage StepBlockMaxima needs.
  std::size_t ScratchSize() const;

  // The strongest values of the species first .. first + count - 1 for one grouping (whose
  // group sizes are `groupSizes`), from the sums a step pass left in `sums` for that block of
  // species (PassSums()), into their places of `maxima`, which holds ValuesPerStep() values:
  // each species' strongest IndVal, then its strongest r.g, each for every species in species
  // order, as far as they are asked for. NaN for a species whose values are no numbers.
  void StepBlockMaxima(const GroupingWork& sums, const std::int32_t* groupSizes, std::size_t first,
                       std::size_t count, double* scratch, double* maxima) const;

  // The strongest association of every species, with its combination, for the observed
  // grouping `siteGroups` (group numbers from 1); empty where not asked for. Its sums are the
  // exact values' (SumOverSites): the same sums in the same order as the step passes'.
  void Strongest(const std::int32_t* siteGroups, std::vector<Association>& indicator,
                 std::vector<Association>& correlation) const;

 private:
  SpeciesGroupSums SpeciesSums(const ExactSums& sums, const std::vector<std::int32_t>& sizes,
                               std::size_t species, double* gathered) const;

  const AnalysisData& data_;
  AssociationRequest request_;
  CombinationList indicatorList_;
  CombinationList correlationList_;
  std::size_t speciesCount_;
  int groupCount_;
  // The sums in double precision equal those the passes add in single precision, so that the
  // passes add nothing for IndVal and only the squares, in single precision, for r.g.
  bool exactInSinglePrecision_ = false;
};

// What a step's strongest value must reach to count as at least the observed one. The
// values are computed from sums of at most N abundances in double precision and a few
// operations on them, by the same code for every grouping; a grouping with mathematically
// the same value comes out within a few hundred units in the last place of it. The
// tolerance, 1e-10 relative (1e-10 absolute below 1), is far above that rounding and far
// below any genuine difference of values built from counts and abundances of real tables.
double AssociationThreshold(double observed);

}  // namespace kova
