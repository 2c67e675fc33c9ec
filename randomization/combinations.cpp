#include "randomization/combinations.h"

#include <cmath>
#include <limits>
#include <unordered_map>

namespace kova {
namespace {

// Adds the combinations of order `order` to `list`, in combn's order: the groups of each as an
// increasing sequence, the sequences in lexicographic order.
void AddOrder(int groupCount, int order, std::unordered_map<GroupSet, int>& indexOf,
              CombinationList& list) {
  std::vector<int> groups(static_cast<std::size_t>(order));
  for (int k = 0; k < order; ++k)
    groups[static_cast<std::size_t>(k)] = k;
  for (;;) {
    GroupSet set = 0;
    for (const int group : groups)
      set |= GroupSet{1} << group;
    const int highest = groups.back();
    const GroupSet parentSet = set & ~(GroupSet{1} << highest);
    indexOf[set] = static_cast<int>(list.sets.size());
    list.sets.push_back(set);
    list.order.push_back(order);
    list.parent.push_back(order == 1 ? -1 : indexOf.at(parentSet));
    list.added.push_back(highest);
    // The next sequence: the last entry that can still grow does, the ones after it follow.
    int k = order - 1;
    while (k >= 0 && groups[static_cast<std::size_t>(k)] == groupCount - order + k)
      --k;
    if (k < 0) return;
    ++groups[static_cast<std::size_t>(k)];
    for (int next = k + 1; next < order; ++next)
      groups[static_cast<std::size_t>(next)] = groups[static_cast<std::size_t>(next - 1)] + 1;
  }
}

// Sums of one value per group over every combination, each from its parent's.
template <typename Value>
void SumOverCombinations(const CombinationList& list, const Value& valueOfGroup, double* sums) {
  for (std::size_t c = 0; c < list.Size(); ++c) {
    const double value = valueOfGroup(list.added[c]);
    sums[c] = list.parent[c] < 0 ? value : sums[static_cast<std::size_t>(list.parent[c])] + value;
  }
}

}  // namespace

std::size_t CombinationCount(int groupCount, int maxOrder) {
  std::size_t count = 0;
  double ofOrder = 1;  // groupCount choose order, in double: it may exceed every integer type
  for (int order = 1; order <= std::min(maxOrder, groupCount); ++order) {
    ofOrder = ofOrder * (groupCount - order + 1) / order;
    if (static_cast<double>(count) + ofOrder > static_cast<double>(kMostCombinations)) {
      return kMostCombinations + 1;
    }
    count += static_cast<std::size_t>(std::llround(ofOrder));
  }
  return count;
}

CombinationList ListCombinations(int groupCount, int maxOrder) {
  CombinationList list;
  const std::size_t count = CombinationCount(groupCount, maxOrder);
  if (count == 0 || count > kMostCombinations || groupCount > 64) return list;
  std::unordered_map<GroupSet, int> indexOf;
  for (int order = 1; order <= std::min(maxOrder, groupCount); ++order)
    AddOrder(groupCount, order, indexOf, list);
  return list;
}

std::string CombinationName(GroupSet set, const std::vector<std::string>& labels) {
  std::string name;
  for (std::size_t group = 0; group < 64; ++group) {
    if ((set >> group & 1U) == 0) continue;
    if (!name.empty()) name += '+';
    name += group < labels.size() ? labels[group] : std::to_string(group + 1);
  }
  return name;
}

Association IndicatorValueOf(const CombinationList& list, int combination,
                             const SpeciesGroupSums& sums) {
  double meanSum = 0.0;
  double mean = 0.0;
  double occupied = 0.0;
  double sites = 0.0;
  const GroupSet set = list.sets[static_cast<std::size_t>(combination)];
  for (int j = 0; j < sums.groupCount; ++j) {
    meanSum += sums.totals[j] / sums.sizes[j];
    if ((set >> j & 1U) == 0) continue;
    mean += sums.totals[j] / sums.sizes[j];
    occupied += sums.occupied[j];
    sites += sums.sizes[j];
  }
  const double a = mean / meanSum;
  const double b = occupied / sites;
  return {combination, a * b, a, b};
}

Association StrongestIndicatorValue(const CombinationList& list, const SpeciesGroupSums& sums,
                                    double* scratch) {
  const std::size_t size = list.Size();
  double* means = scratch;
  double* occupied = scratch + size;
  double* sites = scratch + 2 * size;
  double* groupMeans = scratch + 3 * size;  // reused for the values once the sums are made
  double meanSum = 0.0;
  for (int j = 0; j < sums.groupCount; ++j) {
    groupMeans[j] = sums.totals[j] / sums.sizes[j];
    meanSum += groupMeans[j];
  }
  SumOverCombinations(
      list, [groupMeans](int j) { return groupMeans[j]; }, means);
  SumOverCombinations(
      list, [&sums](int j) { return sums.occupied[j]; }, occupied);
  SumOverCombinations(
      list, [&sums](int j) { return static_cast<double>(sums.sizes[j]); }, sites);
  // Every combination shares the species' sum of group means: the strongest is the one with
  // the largest (mean x occupied) / sites, and only its value is divided by that sum. The
  // keys first, in a loop of their own that the compiler can vectorise; then the largest,
  // strictly larger so that the first of equal keys stays and a NaN never wins.
  double* keys = scratch + 3 * size;  // over the group means, which the sums no longer need
  for (std::size_t c = 0; c < size; ++c)
    keys[c] = (means[c] * occupied[c]) * (1.0 / sites[c]);
  int found = -1;
  double largest = -std::numeric_limits<double>::infinity();
  for (std::size_t c = 0; c < size; ++c) {
    if (keys[c] > largest) {
      largest = keys[c];
      found = static_cast<int>(c);
    }
  }
  const double value = largest / meanSum;
  if (found < 0 || std::isnan(value)) {
    return {-1, std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0};
  }
  const auto c = static_cast<std::size_t>(found);
  return {found, value, means[c] / meanSum, occupied[c] / sites[c]};
}

Association StrongestCorrelation(const CombinationList& list, const SpeciesGroupSums& sums,
                                 double* scratch) {
  const int groups = sums.groupCount;
  double siteCount = 0.0;
  double abundanceShare = 0.0;  // sum of a_j / n_j over the groups
  double squareShare = 0.0;     // sum of l_j / n_j
  for (int j = 0; j < groups; ++j) {
    siteCount += sums.sizes[j];
    abundanceShare += sums.totals[j] / sums.sizes[j];
    squareShare += sums.squares[j] / sums.sizes[j];
  }
  const double n = siteCount;
  const double weight = n / groups;  // every group counts as N / K sites
  const double aK = weight * abundanceShare;
  const double lK = weight * squareShare;
  const double spread = n * lK - aK * aK;
  double* shares = scratch;
  double* groupShares = scratch + list.Size() + groups;
  for (int j = 0; j < groups; ++j)
    groupShares[j] = sums.totals[j] / sums.sizes[j];
  SumOverCombinations(
      list, [groupShares](int j) { return groupShares[j]; }, shares);
  // The denominator depends on the order alone: computed once per order, by the same
  // expression, so that every value has the bits it would have without the saving.
  double* denominators = scratch + list.Size();
  for (int order = 1; order < groups; ++order)
    denominators[order] = CorrelationDenominator(n, weight, spread, order);
  // The combinations of one order share the denominator, and the numerator grows with the
  // share (rounding never reverses that): the first with the largest share is the order's
  // strongest, and an order's value must be strictly larger than a smaller order's to replace
  // it.
  Association strongest;
  strongest.value = -std::numeric_limits<double>::infinity();
  int order = 0;
  int orderBest = -1;
  double largestShare = -std::numeric_limits<double>::infinity();
  const auto closeOrder = [&] {
    if (orderBest < 0) return;
    const double value = CorrelationValue(n, weight, aK, largestShare, order, denominators[order]);
    if (value > strongest.value) strongest = {orderBest, value, 0.0, 0.0};
  };
  for (std::size_t c = 0; c < list.Size(); ++c) {
    if (list.order[c] >= groups) break;  // listed by order: the rest is the whole set
    if (list.order[c] != order) {
      closeOrder();
      order = list.order[c];
      orderBest = -1;
      largestShare = -std::numeric_limits<double>::infinity();
    }
    if (shares[c] > largestShare) {
      largestShare = shares[c];
      orderBest = static_cast<int>(c);
    }
  }
  closeOrder();
  if (strongest.combination < 0) strongest.value = std::numeric_limits<double>::quiet_NaN();
  return strongest;
}

}  // namespace kova
