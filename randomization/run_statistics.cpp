#include "randomization/run_statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kova {

// ---- A step's summary -------------------------------------------------------------------

StepSummary SummarizeIndexTable(const float* indexTable, std::int32_t speciesCount,
                                std::int32_t groupCount, float* speciesMaximum) {
  StepSummary summary;
  AddSpeciesToSummary(summary, indexTable, 0, speciesCount > 0 ? speciesCount : 0,
                      groupCount > 0 ? groupCount : 0, speciesMaximum);
  return summary;
}

void AddSpeciesToSummary(StepSummary& summary, const float* rows, std::int64_t firstSpecies,
                         std::int64_t speciesCount, std::int64_t groupCount,
                         float* speciesMaximum) {
  // Each species' entry of largest magnitude, with its sign. The comparison is strict, so
  // the lowest group wins a tie and a NaN never wins; groups run outside so that the table
  // is read column by column, and the choice is a selection rather than a branch, so that
  // the species loop vectorises.
  for (std::int64_t i = 0; i < speciesCount; ++i)
    speciesMaximum[i] = 0.0f;
  for (std::int64_t k = 0; k < groupCount; ++k) {
    const float* __restrict column = rows + k * speciesCount;
    float* __restrict maximum = speciesMaximum;
    for (std::int64_t i = 0; i < speciesCount; ++i) {
      maximum[i] = std::fabs(column[i]) > std::fabs(maximum[i]) ? column[i] : maximum[i];
    }
  }

  // The sum runs in species order, rounded after each species; the first of equal maxima
  // stays on top, and a negative maximum never gets there.
  for (std::int64_t i = 0; i < speciesCount; ++i) {
    summary.stepSum =
        static_cast<float>(std::fabs(speciesMaximum[i]) + static_cast<double>(summary.stepSum));
    if (speciesMaximum[i] > summary.topContribution) {
      summary.topContribution = speciesMaximum[i];
      summary.topSpecies = static_cast<std::int32_t>(firstSpecies + i + 1);
    }
  }
}

// ---- The sums over the steps ------------------------------------------------------------

void AddStepSum(SumStatistics& statistics, std::int32_t step, float stepSum) {
  if (step == 1) statistics.observedSum = stepSum;
  statistics.sumTotal = static_cast<float>(static_cast<double>(statistics.sumTotal) + stepSum);
  const auto square = static_cast<float>(static_cast<double>(stepSum) * stepSum);
  statistics.sumSquareTotal =
      static_cast<float>(static_cast<double>(statistics.sumSquareTotal) + square);
}

FinalStatistics Finish(const SumStatistics& statistics, std::int32_t stepCount) {
  const auto n = static_cast<double>(stepCount);
  const auto totalSquared =
      static_cast<float>(static_cast<double>(statistics.sumTotal) * statistics.sumTotal);
  FinalStatistics result;
  result.sumDeviation = static_cast<float>(
      std::sqrt((static_cast<double>(statistics.sumSquareTotal) - totalSquared / n) / (n - 1.0)));
  result.sumMean = static_cast<float>(static_cast<double>(statistics.sumTotal) / n);
  result.zScore = static_cast<float>(
      (static_cast<double>(statistics.observedSum) - result.sumMean) / result.sumDeviation);
  return result;
}

// ---- Ties, p-values and their adjustments -----------------------------------------------

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
