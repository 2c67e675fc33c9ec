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
  const double* totals;    // GroupCount x SpeciesCount, from the block's first species
  const double* occupied;  // as totals
  const double* squares;   // as totals, for r.g only
  const std::int32_t* sizes;
  std::size_t stride;  // SpeciesCount
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
    const double* groupOccupied = sums.occupied + static_cast<std::size_t>(j) * sums.stride;
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

// Every species' sums by group, site by site in site order. The species are taken in blocks
// whose sums of every group stay in the first-level cache while all sites are read.
constexpr std::size_t kSpeciesPerSumBlock = 128;

template <bool kSquares>
KOVA_WIDE_LOOPS void SumSites(const float* abundance, std::int64_t siteCount,
                              std::size_t speciesCount, const std::int32_t* siteGroups,
                              double* totals, double* occupied, double* squares) {
  for (std::size_t first = 0; first < speciesCount; first += kSpeciesPerSumBlock) {
    const std::size_t count = std::min(kSpeciesPerSumBlock, speciesCount - first);
    for (std::int64_t k = 0; k < siteCount; ++k) {
      const std::size_t at = static_cast<std::size_t>(siteGroups[k] - 1) * speciesCount + first;
      const float* __restrict column =
          abundance + static_cast<std::size_t>(k) * speciesCount + first;
      double* __restrict total = totals + at;
      double* __restrict occupiedSites = occupied + at;
      double* __restrict squared = kSquares ? squares + at : nullptr;
      for (std::size_t i = 0; i < count; ++i) {
        const double x = column[i];
        total[i] += x;
        occupiedSites[i] += x > 0.0 ? 1.0 : 0.0;
        if constexpr (kSquares) squared[i] += x * x;
      }
    }
  }
}

}  // namespace

void AssociationSteps::SumGroups(const std::int32_t* siteGroups, Work& work) const {
  std::fill(work.totals.begin(), work.totals.end(), 0.0);
  std::fill(work.occupied.begin(), work.occupied.end(), 0.0);
  std::fill(work.squares.begin(), work.squares.end(), 0.0);
  std::fill(work.sizes.begin(), work.sizes.end(), 0);
  for (std::int64_t k = 0; k < data_.siteCount; ++k)
    ++work.sizes[static_cast<std::size_t>(siteGroups[k] - 1)];
  if (work.squares.empty()) {
    SumSites<false>(data_.abundanceMatrix.Data(), data_.siteCount, speciesCount_, siteGroups,
                    work.totals.data(), work.occupied.data(), nullptr);
  } else {
    SumSites<true>(data_.abundanceMatrix.Data(), data_.siteCount, speciesCount_, siteGroups,
                   work.totals.data(), work.occupied.data(), work.squares.data());
  }
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

AssociationSteps::Work AssociationSteps::NewWork() const {
  const std::size_t entries = speciesCount_ * static_cast<std::size_t>(groupCount_);
  Work work;
  work.totals.resize(entries);
  work.occupied.resize(entries);
  if (Correlations()) work.squares.resize(entries);
  work.sizes.resize(static_cast<std::size_t>(groupCount_));
  const std::size_t combinations = std::max(indicatorList_.Size(), correlationList_.Size());
  work.scratch.resize(4 * combinations + 3 * static_cast<std::size_t>(groupCount_));
  work.block.resize((2 * combinations + 2 * static_cast<std::size_t>(groupCount_) + 4) * kBlock +
                    combinations);
  return work;
}

// One species' sums gathered group by group into `gathered` (3 x GroupCount doubles).
SpeciesGroupSums AssociationSteps::SpeciesSums(const Work& work, std::size_t species,
                                               double* gathered) const {
  const auto groups = static_cast<std::size_t>(groupCount_);
  for (std::size_t j = 0; j < groups; ++j) {
    gathered[j] = work.totals[j * speciesCount_ + species];
    gathered[groups + j] = work.occupied[j * speciesCount_ + species];
    gathered[2 * groups + j] =
        work.squares.empty() ? 0.0 : work.squares[j * speciesCount_ + species];
  }
  return {gathered, gathered + groups, gathered + 2 * groups, work.sizes.data(), groupCount_};
}

void AssociationSteps::BlockMaxima(const Work& work, std::size_t first, std::size_t count,
                                   double* block, double* maxima) const {
  const BlockSums sums{work.totals.data() + first,
                       work.occupied.data() + first,
                       work.squares.empty() ? nullptr : work.squares.data() + first,
                       work.sizes.data(),
                       speciesCount_,
                       groupCount_,
                       count};
  double* next = maxima + first;
  if (IndicatorValues()) {
    IndicatorBlock(indicatorList_, sums, block, next);
    next += speciesCount_;
  }
  if (Correlations()) CorrelationBlock(correlationList_, sums, block, next);
}

void AssociationSteps::StepMaxima(const std::int32_t* siteGroups, Work& work,
                                  double* maxima) const {
  SumGroups(siteGroups, work);
  for (std::size_t first = 0; first < speciesCount_; first += kBlock)
    BlockMaxima(work, first, std::min(kBlock, speciesCount_ - first), work.block.data(), maxima);
}

void AssociationSteps::Strongest(const std::int32_t* siteGroups, Work& work,
                                 std::vector<Association>& indicator,
                                 std::vector<Association>& correlation) const {
  SumGroups(siteGroups, work);
  const std::size_t combinations = std::max(indicatorList_.Size(), correlationList_.Size());
  double* gathered = work.scratch.data() + 4 * combinations;
  indicator.clear();
  correlation.clear();
  for (std::size_t i = 0; i < speciesCount_; ++i) {
    const SpeciesGroupSums sums = SpeciesSums(work, i, gathered);
    if (IndicatorValues())
      indicator.push_back(StrongestIndicatorValue(indicatorList_, sums, work.scratch.data()));
    if (Correlations())
      correlation.push_back(StrongestCorrelation(correlationList_, sums, work.scratch.data()));
  }
}

double AssociationThreshold(double observed) {
  if (std::isnan(observed)) return kNotANumber;
  return observed - 1e-10 * std::max(1.0, std::fabs(observed));
}

}  // namespace kova
