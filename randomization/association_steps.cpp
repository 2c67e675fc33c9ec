#include "randomization/association_steps.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kova {
namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double kBelowAll = -std::numeric_limits<double>::infinity();

// The steps take the species a block at a time, so that each combination's sums for the
// block's species lie side by side and every species' value of a combination comes from one
// loop over the block: the same expressions as StrongestIndicatorValue and
// StrongestCorrelation, species by species, and so the same bits.
constexpr std::size_t kBlock = 64;

// Where the processor has them, the loops over a block use its wider vectors (the same
// operations in the same order, so the same bits). The choice is made when the program is
// loaded, before the thread sanitizer's runtime could follow it, so its builds go without.
#if defined(__SANITIZE_THREAD__)
#define KOVA_WIDE_LOOPS
#else
#define KOVA_WIDE_LOOPS __attribute__((target_clones("avx2", "default")))
#endif

struct BlockSums {
  const double* totals;   // GroupCount columns of `stride` species, from the block's first
  const float* occupied;  // as totals
  const double* squares;  // as totals, for r.g only
  const std::int32_t* sizes;
  std::size_t stride;
  int groups;
  std::size_t count;  // the block's species, at most kBlock
};

// Each species' strongest IndVal over `list`.
KOVA_WIDE_LOOPS
void IndicatorBlock(const CombinationList& list, const BlockSums& sums, double* block,
                    double* maxima) {
  constexpr std::size_t B = kBlock;
  const std::size_t size = list.Size();
  double* groupMeans = block;                                                // groups x B
  double* meanSum = groupMeans + static_cast<std::size_t>(sums.groups) * B;  // B
  double* best = meanSum + B;                                                // B
  double* means = best + B;                                                  // size x B
  double* occupied = means + size * B;                                       // size x B
  double* sites = occupied + size * B;                                       // size
  for (std::size_t b = 0; b < B; ++b) {
    meanSum[b] = 0.0;
    best[b] = kBelowAll;
  }
  for (int j = 0; j < sums.groups; ++j) {
    const double* totals = sums.totals + static_cast<std::size_t>(j) * sums.stride;
    double* groupMean = groupMeans + static_cast<std::size_t>(j) * B;
    for (std::size_t b = 0; b < sums.count; ++b) {
      groupMean[b] = totals[b] / sums.sizes[j];
      meanSum[b] += groupMean[b];
    }
  }
  for (std::size_t c = 0; c < size; ++c) {
    const int j = list.added[c];
    const int parent = list.parent[c];
    const double* groupMean = groupMeans + static_cast<std::size_t>(j) * B;
    const float* groupOccupied = sums.occupied + static_cast<std::size_t>(j) * sums.stride;
    double* mean = means + c * B;
    double* occupiedSum = occupied + c * B;
    if (parent < 0) {
      sites[c] = static_cast<double>(sums.sizes[j]);
      for (std::size_t b = 0; b < sums.count; ++b) {
        mean[b] = groupMean[b];
        occupiedSum[b] = groupOccupied[b];
      }
    } else {
      const auto p = static_cast<std::size_t>(parent);
      sites[c] = sites[p] + static_cast<double>(sums.sizes[j]);
      const double* parentMean = means + p * B;
      const double* parentOccupied = occupied + p * B;
      for (std::size_t b = 0; b < sums.count; ++b) {
        mean[b] = parentMean[b] + groupMean[b];
        occupiedSum[b] = parentOccupied[b] + groupOccupied[b];
      }
    }
    const double siteSum = sites[c];
    for (std::size_t b = 0; b < sums.count; ++b) {
      const double value = (mean[b] / meanSum[b]) * (occupiedSum[b] / siteSum);
      best[b] = value > best[b] ? value : best[b];  // a NaN never wins
    }
  }
  for (std::size_t b = 0; b < sums.count; ++b)
    maxima[b] = best[b] == kBelowAll ? kNotANumber : best[b];
}

// Each species' strongest r.g over the combinations of `list` of fewer than every group.
KOVA_WIDE_LOOPS
void CorrelationBlock(const CombinationList& list, const BlockSums& sums, double* block,
                      double* maxima) {
  constexpr std::size_t B = kBlock;
  const int groups = sums.groups;
  const auto orders = static_cast<std::size_t>(groups);
  double* groupShares = block;                      // groups x B
  double* denominators = groupShares + orders * B;  // groups x B, by order
  double* aK = denominators + orders * B;           // B
  double* best = aK + B;                            // B
  double* shares = best + B;                        // size x B
  double siteCount = 0.0;
  for (int j = 0; j < groups; ++j)
    siteCount += sums.sizes[j];
  const double n = siteCount;
  const double weight = n / groups;
  for (std::size_t b = 0; b < sums.count; ++b) {
    double abundanceShare = 0.0;
    double squareShare = 0.0;
    for (int j = 0; j < groups; ++j) {
      const std::size_t at = static_cast<std::size_t>(j) * sums.stride + b;
      abundanceShare += sums.totals[at] / sums.sizes[j];
      squareShare += sums.squares[at] / sums.sizes[j];
    }
    aK[b] = weight * abundanceShare;
    const double lK = weight * squareShare;
    const double spread = n * lK - aK[b] * aK[b];
    for (int order = 1; order < groups; ++order) {
      const double nC = weight * order;
      denominators[static_cast<std::size_t>(order) * B + b] =
          std::sqrt(spread * (n * nC - nC * nC));
    }
    best[b] = kBelowAll;
  }
  for (int j = 0; j < groups; ++j) {
    const double* totals = sums.totals + static_cast<std::size_t>(j) * sums.stride;
    double* groupShare = groupShares + static_cast<std::size_t>(j) * B;
    for (std::size_t b = 0; b < sums.count; ++b)
      groupShare[b] = totals[b] / sums.sizes[j];
  }
  for (std::size_t c = 0; c < list.Size(); ++c) {
    const int order = list.order[c];
    if (order >= groups) break;  // listed by order: the rest is the whole set
    const double* groupShare = groupShares + static_cast<std::size_t>(list.added[c]) * B;
    double* share = shares + c * B;
    if (list.parent[c] < 0) {
      for (std::size_t b = 0; b < sums.count; ++b)
        share[b] = groupShare[b];
    } else {
      const double* parentShare = shares + static_cast<std::size_t>(list.parent[c]) * B;
      for (std::size_t b = 0; b < sums.count; ++b)
        share[b] = parentShare[b] + groupShare[b];
    }
    const double nC = weight * order;
    const double* denominator = denominators + static_cast<std::size_t>(order) * B;
    for (std::size_t b = 0; b < sums.count; ++b) {
      const double aC = weight * share[b];
      const double value = (n * aC - aK[b] * nC) / denominator[b];
      best[b] = value > best[b] ? value : best[b];
    }
  }
  for (std::size_t b = 0; b < sums.count; ++b)
    maxima[b] = best[b] == kBelowAll ? kNotANumber : best[b];
}

int LargestOrder(int groupCount, std::int32_t asked) {
  return asked > 0 ? std::min<int>(asked, groupCount) : groupCount;
}

// Every species' sums by group, site by site in site order, as the step passes add them.
template <bool kSquares>
KOVA_WIDE_LOOPS void SumSites(const float* abundance, std::int64_t siteCount,
                              std::size_t speciesCount, const std::int32_t* siteGroups,
                              double* totals, float* occupied, double* squares) {
  for (std::int64_t k = 0; k < siteCount; ++k) {
    const std::size_t at = static_cast<std::size_t>(siteGroups[k] - 1) * speciesCount;
    const float* __restrict column = abundance + static_cast<std::size_t>(k) * speciesCount;
    double* __restrict total = totals + at;
    float* __restrict occupiedSites = occupied + at;
    double* __restrict squared = kSquares ? squares + at : nullptr;
    for (std::size_t i = 0; i < speciesCount; ++i) {
      const double x = column[i];
      total[i] += x;
      occupiedSites[i] += column[i] > 0.0f ? 1.0f : 0.0f;
      if constexpr (kSquares) squared[i] += x * x;
    }
  }
}

}  // namespace

AssociationSteps::Sums AssociationSteps::SumGroups(const std::int32_t* siteGroups) const {
  const std::size_t entries = speciesCount_ * static_cast<std::size_t>(groupCount_);
  Sums sums;
  sums.totals.assign(entries, 0.0);
  sums.occupied.assign(entries, 0.0f);
  sums.sizes.assign(static_cast<std::size_t>(groupCount_), 0);
  for (std::int64_t k = 0; k < data_.siteCount; ++k)
    ++sums.sizes[static_cast<std::size_t>(siteGroups[k] - 1)];
  if (Correlations()) {
    sums.squares.assign(entries, 0.0);
    SumSites<true>(data_.abundanceMatrix.Data(), data_.siteCount, speciesCount_, siteGroups,
                   sums.totals.data(), sums.occupied.data(), sums.squares.data());
  } else {
    SumSites<false>(data_.abundanceMatrix.Data(), data_.siteCount, speciesCount_, siteGroups,
                    sums.totals.data(), sums.occupied.data(), nullptr);
  }
  return sums;
}

AssociationSteps::AssociationSteps(const AnalysisData& data, const AssociationRequest& request)
    : data_(data),
      request_(request),
      speciesCount_(static_cast<std::size_t>(std::max(data.speciesCount, 0))),
      groupCount_(data.groupCount) {
  const int largest = LargestOrder(groupCount_, request.maxOrder);
  if (request.combinations) indicatorList_ = ListCombinations(groupCount_, largest);
  if (request.correlation) {
    const int order = request.combinations ? std::min(largest, groupCount_ - 1) : 1;
    correlationList_ = ListCombinations(groupCount_, std::max(order, 1));
  }
}

std::size_t AssociationSteps::ValuesPerStep() const {
  return speciesCount_ * ((IndicatorValues() ? 1 : 0) + (Correlations() ? 1 : 0));
}

DoubleSums AssociationSteps::PassSums() const {
  return Correlations() ? DoubleSums::TotalsAndSquares : DoubleSums::Totals;
}

std::size_t AssociationSteps::ScratchSize() const {
  const std::size_t combinations = std::max(indicatorList_.Size(), correlationList_.Size());
  const auto groups = static_cast<std::size_t>(groupCount_);
  return std::max((2 * combinations + 2 * groups + 4) * kBlock + combinations,
                  4 * combinations + 3 * groups);
}

// One species' sums gathered group by group into `gathered` (3 x GroupCount doubles).
SpeciesGroupSums AssociationSteps::SpeciesSums(const Sums& sums, std::size_t species,
                                               double* gathered) const {
  const auto groups = static_cast<std::size_t>(groupCount_);
  for (std::size_t j = 0; j < groups; ++j) {
    gathered[j] = sums.totals[j * speciesCount_ + species];
    gathered[groups + j] = sums.occupied[j * speciesCount_ + species];
    gathered[2 * groups + j] =
        sums.squares.empty() ? 0.0 : sums.squares[j * speciesCount_ + species];
  }
  return {gathered, gathered + groups, gathered + 2 * groups, sums.sizes.data(), groupCount_};
}

void AssociationSteps::StepBlockMaxima(const GroupingWork& sums, const std::int32_t* groupSizes,
                                       std::size_t first, std::size_t count, double* scratch,
                                       double* maxima) const {
  for (std::size_t part = 0; part < count; part += kBlock) {
    const BlockSums block{sums.doubleTotals + part,
                          sums.occupiedSites + part,
                          sums.doubleSquares == nullptr ? nullptr : sums.doubleSquares + part,
                          groupSizes,
                          count,
                          groupCount_,
                          std::min(kBlock, count - part)};
    double* next = maxima + first + part;
    if (IndicatorValues()) {
      IndicatorBlock(indicatorList_, block, scratch, next);
      next += speciesCount_;
    }
    if (Correlations()) CorrelationBlock(correlationList_, block, scratch, next);
  }
}

void AssociationSteps::Strongest(const std::int32_t* siteGroups,
                                 std::vector<Association>& indicator,
                                 std::vector<Association>& correlation) const {
  const Sums sums = SumGroups(siteGroups);
  const std::size_t combinations = std::max(indicatorList_.Size(), correlationList_.Size());
  std::vector<double> scratch(4 * combinations + 3 * static_cast<std::size_t>(groupCount_));
  double* gathered = scratch.data() + 4 * combinations;
  indicator.clear();
  correlation.clear();
  for (std::size_t i = 0; i < speciesCount_; ++i) {
    const SpeciesGroupSums species = SpeciesSums(sums, i, gathered);
    if (IndicatorValues())
      indicator.push_back(StrongestIndicatorValue(indicatorList_, species, scratch.data()));
    if (Correlations())
      correlation.push_back(StrongestCorrelation(correlationList_, species, scratch.data()));
  }
}

double AssociationThreshold(double observed) {
  if (std::isnan(observed)) return kNotANumber;
  return observed - 1e-10 * std::max(1.0, std::fabs(observed));
}

}  // namespace kova
