// Species that indicate a combination of groups rather than one: a species of both hayfields
// and pastures indicates neither alone. For every combination of groups (a non-empty set of
// them; one group is a combination of order 1) two statistics, computed in double precision
// from a species' group sums:
//  - the group-equalized indicator value of De Cáceres, Legendre and Moretti (2010): A, the
//    combination's share of the species' summed group means, times B, the share of the
//    combination's sites where the species is present (on the 0-1 scale of APCF);
//  - the group-equalized point-biserial correlation r.g of De Cáceres and Legendre (2009),
//    between the species' abundance and membership of the combination, each group weighted
//    as if it held N / K sites.
// A species' association is its largest value over the combinations considered, the smallest
// order first on a tie, and within an order the combination listed first.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace kova {

// The statistics beyond the five variants that a run is asked for, each opt-in.
struct AssociationRequest {
  bool combinations = false;  // IndVal.g over combinations of groups
  std::int32_t maxOrder = 0;  // the largest order of a combination; 0 for every group
  bool correlation = false;   // r.g, over single groups or, with combinations, up to K - 1
  std::int32_t bootstrapResamples = 0;  // 0: no intervals
  double confidenceLevel = 0.95;

  bool Any() const { return combinations || correlation || bootstrapResamples > 0; }
};

// A combination of groups: group j (from 0) is bit j.
using GroupSet = std::uint64_t;

// The combinations of orders 1 to `maxOrder` of `groupCount` groups, listed by order and,
// within an order, in the order R's combn lists them ({1,2} {1,3} {2,3} for three groups).
// Each combination of order 2 or more is its parent (the same combination without its highest
// group, listed earlier) and one group more, so that sums over a combination cost one
// addition each.
struct CombinationList {
  std::vector<GroupSet> sets;
  std::vector<int> order;
  std::vector<int> parent;  // -1 for order 1
  std::vector<int> added;   // the group (from 0) that order 1 holds, or that joins the parent

  std::size_t Size() const { return sets.size(); }
};

// The most combinations a run considers: the statistics of every combination are computed in
// every step.
inline constexpr std::size_t kMostCombinations = 100000;

// The combinations of orders 1 to min(maxOrder, groupCount); empty when there would be more
// than kMostCombinations, or none.
CombinationList ListCombinations(int groupCount, int maxOrder);

// How many combinations of orders 1 to `maxOrder` `groupCount` groups have, up to
// kMostCombinations + 1.
std::size_t CombinationCount(int groupCount, int maxOrder);

// "BF+HF": the labels (or the numbers, from 1, without labels) of the combination's groups
// joined by "+", in group order.
std::string CombinationName(GroupSet set, const std::vector<std::string>& labels);

// A species' strongest combination and its statistic (for IndVal also A and B there).
struct Association {
  int combination = -1;  // in the list; -1 when no value is a number
  double value = 0.0;
  double a = 0.0;
  double b = 0.0;
};

// One species' group sums, for one grouping: group j's total abundance, sites where the
// species is present, sum of squared abundances (for r.g) and number of sites.
struct SpeciesGroupSums {
  const double* totals = nullptr;
  const double* occupied = nullptr;
  const double* squares = nullptr;
  const std::int32_t* sizes = nullptr;
  int groupCount = 0;
};

// The strongest IndVal of the combinations. `scratch` holds 4 x list.Size() doubles.
Association StrongestIndicatorValue(const CombinationList& list, const SpeciesGroupSums& sums,
                                    double* scratch);

// IndVal of one combination.
Association IndicatorValueOf(const CombinationList& list, int combination,
                             const SpeciesGroupSums& sums);

// The strongest r.g of the combinations of order below groupCount (the combination of every
// group has no correlation). `scratch` holds list.Size() + 2 x groupCount doubles.
Association StrongestCorrelation(const CombinationList& list, const SpeciesGroupSums& sums,
                                 double* scratch);

// The two parts of r.g, as the species-by-species search and every step form them, so that
// both give the same bits. Over `n` sites, each group weighing `weight` of them: the
// denominator of every combination of `order` groups, from the species' `spread`
// (n x lK - aK x aK), and a combination's value from its `share` (the sum of its a_j / n_j).
inline double CorrelationDenominator(double n, double weight, double spread, int order) {
  const double nC = weight * order;
  return std::sqrt(spread * (n * nC - nC * nC));
}

inline double CorrelationValue(double n, double weight, double aK, double share, int order,
                               double denominator) {
  const double aC = weight * share;
  const double nC = weight * order;
  return (n * aC - aK * nC) / denominator;
}

}  // namespace kova
