#include "driver/p_values.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kova {
namespace {

constexpr double kUnitRoundoff = 0x1p-24;
// From here on, occupied-site counts summed in single precision stop being exact.
constexpr std::int64_t kExactCountLimit = std::int64_t{1} << 24;

// The bound on the rounding of one computed value of `indexType`, before the scale.
double ValueRoundingBound(int indexType, std::int64_t siteCount, std::int64_t groupCount) {
  const auto sites = static_cast<double>(siteCount > 0 ? siteCount : 0);
  const auto groups = static_cast<double>(groupCount > 0 ? groupCount : 0);
  const double inexactCounts = siteCount >= kExactCountLimit ? sites : 0.0;
  double units = 8.0;
  switch (indexType) {
    case 1: units += 2.0 * sites + groups; break;
    case 2: units += 5.0 * sites + groups; break;
    case 3: units += 8.0 * sites + 2.0 * groups; break;
    case 4: units += inexactCounts; break;
    default: units += inexactCounts + 2.0 * groups; break;
  }
  return units * kUnitRoundoff;
}

// The positions of `p` in increasing order of value, equal values in their order (as R's
// order() keeps them).
std::vector<std::size_t> IncreasingOrder(const std::vector<double>& p) {
  std::vector<std::size_t> order(p.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&p](std::size_t a, std::size_t b) { return p[a] < p[b]; });
  return order;
}

}  // namespace

double ValueTieTolerance(int indexType, std::int64_t siteCount, std::int64_t groupCount,
                         double observed) {
  // An infinite or NaN value is compared as it stands.
  if (!std::isfinite(observed)) return 0.0;
  return 2.0 * ValueRoundingBound(indexType, siteCount, groupCount) *
         std::max(1.0, std::fabs(observed));
}

double SumTieTolerance(int indexType, std::int64_t speciesCount, std::int64_t siteCount,
                       std::int64_t groupCount, double observedSum) {
  if (!std::isfinite(observedSum)) return 0.0;
  const auto species = static_cast<double>(speciesCount > 0 ? speciesCount : 0);
  const double sum = std::fabs(observedSum);
  // Each species' magnitude contributes its bound, scaled as ValueTieTolerance scales it;
  // the scales sum to at most the number of species plus the sum itself.
  const double values = ValueRoundingBound(indexType, siteCount, groupCount) * (species + sum);
  const double summation = std::max(species - 1.0, 0.0) * kUnitRoundoff * sum;
  return 2.0 * (values + summation);
}

double RandomizationPValue(std::int64_t atLeastObserved, std::int64_t stepCount) {
  return static_cast<double>(atLeastObserved) / static_cast<double>(stepCount);
}

std::vector<double> HolmAdjusted(const std::vector<double>& p) {
  const std::size_t n = p.size();
  if (n <= 1) return p;
  const std::vector<std::size_t> order = IncreasingOrder(p);
  std::vector<double> adjusted(n);
  double largest = 0.0;
  for (std::size_t i = 1; i <= n; ++i) {
    const std::size_t at = order[i - 1];
    largest = std::max(largest, static_cast<double>(n + 1 - i) * p[at]);
    adjusted[at] = std::min(1.0, largest);
  }
  return adjusted;
}

std::vector<double> BenjaminiHochbergAdjusted(const std::vector<double>& p) {
  const std::size_t n = p.size();
  if (n <= 1) return p;
  std::vector<std::size_t> order = IncreasingOrder(p);
  std::vector<double> adjusted(n);
  double smallest = 1.0;
  // From the largest p down; i is the rank in increasing order.
  for (std::size_t i = n; i >= 1; --i) {
    const std::size_t at = order[i - 1];
    smallest = std::min(smallest, static_cast<double>(n) / static_cast<double>(i) * p[at]);
    adjusted[at] = smallest;
  }
  return adjusted;
}

}  // namespace kova
