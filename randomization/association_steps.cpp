#include "randomization/association_steps.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace kova {
namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double kBelowAll = -std::numeric_limits<double>::infinity();

// The steps take the species a block at a time, so that each combination's sums for the
// block's species lie side by side and every species' value of a combination comes from one
// loop over the block: the same expressions as StrongestIndicatorValue and
// StrongestCorrelation, species by species, and so the same bits. A block of 256 species was
// the fastest of 32 to 256 on the 1000 x 1000 x 8 example (bench/association_steps_bench): the
// longer loops spread the cost of each combination's visit.
constexpr std::size_t kBlock = 256;

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
  const double* squares;  // as totals, for r.g only
  const float* occupied;  // GroupCount columns of `occupiedStride` species
  const std::int32_t* sizes;
  std::size_t stride;
  std::size_t occupiedStride;
  int groups;
  std::size_t count;  // the block's species, at most kBlock
};

// The combinations of orders 1 to `largestOrder` of `groups` groups, visited depth first:
// each one its parent (itself without its highest group, one level up) and one group more, as
// the list builds them, so that every sum comes out as the list's does. A step only needs each
// species' largest value, which does not depend on the order of the visits, and the sums of
// the parents on the way down, one row per depth, stay in the cache. At each combination,
// `depth` is its order less one and members[depth] its highest group; the caller keeps the
// sums of each depth.
struct DepthFirstCombinations {
  int groups;
  int largestOrder;
  int members[64];  // the combination's groups, in increasing order
  int depth = 0;

  DepthFirstCombinations(int groupCount, int order) : groups(groupCount), largestOrder(order) {
    members[0] = 0;
  }
  // Whether the combination is the last of its line: no larger one is visited from it.
  bool Childless() const { return depth + 1 >= largestOrder || members[depth] + 1 >= groups; }
  // Moves to the next combination; false after the last.
  bool Next() {
    if (depth + 1 < largestOrder && members[depth] + 1 < groups) {
      members[depth + 1] = members[depth] + 1;
      ++depth;
      return true;
    }
    while (depth >= 0 && members[depth] + 1 >= groups)
      --depth;
    if (depth < 0) return false;
    ++members[depth];
    return true;
  }
};

int LargestOrderOf(const CombinationList& list) {
  return list.Size() == 0 ? 0 : list.order.back();
}

// Each species' strongest IndVal over `list`: the largest (mean x occupied) / sites of its
// combinations, divided by its sum of group means, which all its combinations share. The sum
// of a combination's group means is also its r.g share (CorrelationBlock): with
// `largestMeans` (groups x B, by order), each order's largest is kept there for it.
KOVA_WIDE_LOOPS
void IndicatorBlock(const CombinationList& list, const BlockSums& sums, double* block,
                    double* maxima, double* largestMeans) {
  constexpr std::size_t B = kBlock;
  const int largestOrder = LargestOrderOf(list);
  const auto groups = static_cast<std::size_t>(sums.groups);
  const auto depths = static_cast<std::size_t>(largestOrder);
  double* groupMeans = block;                       // groups x B
  double* groupOccupied = groupMeans + groups * B;  // groups x B
  double* meanSum = groupOccupied + groups * B;     // B
  double* best = meanSum + B;                       // B
  double* means = best + B;                         // depths x B
  double* occupied = means + depths * B;            // depths x B
  double sites[64];
  for (std::size_t b = 0; b < B; ++b) {
    meanSum[b] = 0.0;
    best[b] = kBelowAll;
  }
  if (largestMeans != nullptr) {
    for (std::size_t at = 0; at < groups * B; ++at)
      largestMeans[at] = kBelowAll;
  }
  for (std::size_t j = 0; j < groups; ++j) {
    const double* totals = sums.totals + j * sums.stride;
    const float* presences = sums.occupied + j * sums.occupiedStride;
    double* groupMean = groupMeans + j * B;
    double* occupiedSites = groupOccupied + j * B;
    for (std::size_t b = 0; b < sums.count; ++b) {
      groupMean[b] = totals[b] / sums.sizes[j];
      meanSum[b] += groupMean[b];
      occupiedSites[b] = presences[b];
    }
  }
  if (largestOrder > 0) {
    DepthFirstCombinations visits(sums.groups, largestOrder);
    do {
      const auto depth = static_cast<std::size_t>(visits.depth);
      const auto j = static_cast<std::size_t>(visits.members[depth]);
      const double* groupMean = groupMeans + j * B;
      const double* occupiedSites = groupOccupied + j * B;
      double* mean = means + depth * B;
      double* occupiedSum = occupied + depth * B;
      if (depth == 0) {
        sites[0] = static_cast<double>(sums.sizes[j]);
        for (std::size_t b = 0; b < sums.count; ++b) {
          mean[b] = groupMean[b];
          occupiedSum[b] = occupiedSites[b];
        }
      } else {
        sites[depth] = sites[depth - 1] + static_cast<double>(sums.sizes[j]);
        const double* parentMean = mean - B;
        const double* parentOccupied = occupiedSum - B;
        const double reciprocal = 1.0 / sites[depth];
        if (visits.Childless()) {
          // No combination grows from this one: its sums are not kept.
          if (largestMeans == nullptr) {
            for (std::size_t b = 0; b < sums.count; ++b) {
              const double value =
                  ((parentMean[b] + groupMean[b]) * (parentOccupied[b] + occupiedSites[b])) *
                  reciprocal;
              best[b] = value > best[b] ? value : best[b];  // a NaN never wins
            }
          } else {
            double* largestMean = largestMeans + (depth + 1) * B;
            for (std::size_t b = 0; b < sums.count; ++b) {
              const double sum = parentMean[b] + groupMean[b];
              const double value = (sum * (parentOccupied[b] + occupiedSites[b])) * reciprocal;
              best[b] = value > best[b] ? value : best[b];
              largestMean[b] = sum > largestMean[b] ? sum : largestMean[b];
            }
          }
          continue;
        }
        for (std::size_t b = 0; b < sums.count; ++b) {
          mean[b] = parentMean[b] + groupMean[b];
          occupiedSum[b] = parentOccupied[b] + occupiedSites[b];
        }
      }
      const double reciprocal = 1.0 / sites[depth];
      for (std::size_t b = 0; b < sums.count; ++b) {
        const double value = (mean[b] * occupiedSum[b]) * reciprocal;
        best[b] = value > best[b] ? value : best[b];  // a NaN never wins
      }
      if (largestMeans != nullptr) {
        double* largestMean = largestMeans + (depth + 1) * B;
        for (std::size_t b = 0; b < sums.count; ++b)
          largestMean[b] = mean[b] > largestMean[b] ? mean[b] : largestMean[b];
      }
    } while (visits.Next());
  }
  for (std::size_t b = 0; b < sums.count; ++b) {
    const double value = best[b] / meanSum[b];
    maxima[b] = value == value ? value : kNotANumber;  // a species found nowhere has none
  }
}

// Each species' strongest r.g over the combinations of `list` of fewer than every group. The
// combinations of one order share the denominator, and the numerator grows with the share
// (rounding never reverses that), so each order's strongest is its largest share's: one
// numerator and one division per order.
// With `largestShares` (groups x B, by order, as IndicatorBlock keeps them for the same
// combinations), they are not found again.
KOVA_WIDE_LOOPS
void CorrelationBlock(const CombinationList& list, const BlockSums& sums, double* block,
                      double* maxima, const double* largestShares) {
  constexpr std::size_t B = kBlock;
  const int groups = sums.groups;
  const int largestOrder = std::min(LargestOrderOf(list), groups - 1);
  const auto orders = static_cast<std::size_t>(groups);
  double* groupShares = block;                      // groups x B
  double* denominators = groupShares + orders * B;  // groups x B, by order
  double* found = denominators + orders * B;        // groups x B, each order's largest share
  double* aK = found + orders * B;                  // B
  double* squareShare = aK + B;                     // B
  double* best = squareShare + B;                   // B
  double* shares = best + B;                        // groups x B, by depth
  double siteCount = 0.0;
  for (int j = 0; j < groups; ++j)
    siteCount += sums.sizes[j];
  const double n = siteCount;
  const double weight = n / groups;
  for (std::size_t b = 0; b < B; ++b) {
    aK[b] = 0.0;
    squareShare[b] = 0.0;
    best[b] = kBelowAll;
  }
  if (largestShares == nullptr) {
    for (std::size_t at = 0; at < orders * B; ++at)
      found[at] = kBelowAll;
  }
  for (int j = 0; j < groups; ++j) {
    const std::size_t column = static_cast<std::size_t>(j) * sums.stride;
    double* groupShare = groupShares + static_cast<std::size_t>(j) * B;
    for (std::size_t b = 0; b < sums.count; ++b) {
      groupShare[b] = sums.totals[column + b] / sums.sizes[j];
      aK[b] += groupShare[b];  // the sum of the shares, weighted below
      squareShare[b] += sums.squares[column + b] / sums.sizes[j];
    }
  }
  for (std::size_t b = 0; b < sums.count; ++b)
    aK[b] = weight * aK[b];
  for (std::size_t b = 0; b < sums.count; ++b) {
    const double lK = weight * squareShare[b];
    squareShare[b] = n * lK - aK[b] * aK[b];  // now the spread
  }
  const double* spread = squareShare;
  for (int order = 1; order < groups; ++order) {
    double* denominator = denominators + static_cast<std::size_t>(order) * B;
    for (std::size_t b = 0; b < sums.count; ++b)
      denominator[b] = CorrelationDenominator(n, weight, spread[b], order);
  }
  if (largestShares == nullptr && largestOrder > 0) {
    DepthFirstCombinations visits(groups, largestOrder);
    do {
      const auto depth = static_cast<std::size_t>(visits.depth);
      const double* groupShare = groupShares + static_cast<std::size_t>(visits.members[depth]) * B;
      double* share = shares + depth * B;
      if (depth == 0) {
        for (std::size_t b = 0; b < sums.count; ++b)
          share[b] = groupShare[b];
      } else {
        const double* parentShare = share - B;
        for (std::size_t b = 0; b < sums.count; ++b)
          share[b] = parentShare[b] + groupShare[b];
      }
      double* largestShare = found + (depth + 1) * B;
      for (std::size_t b = 0; b < sums.count; ++b)
        largestShare[b] = share[b] > largestShare[b] ? share[b] : largestShare[b];
    } while (visits.Next());
  }
  const double* largest = largestShares != nullptr ? largestShares : found;
  for (int order = 1; order <= largestOrder; ++order) {
    const double* largestShare = largest + static_cast<std::size_t>(order) * B;
    const double* denominator = denominators + static_cast<std::size_t>(order) * B;
    for (std::size_t b = 0; b < sums.count; ++b) {
      const double value =
          CorrelationValue(n, weight, aK[b], largestShare[b], order, denominator[b]);
      best[b] = value > best[b] ? value : best[b];  // the smaller order keeps a tie
    }
  }
  for (std::size_t b = 0; b < sums.count; ++b)
    maxima[b] = best[b] == kBelowAll ? kNotANumber : best[b];
}

int LargestOrder(int groupCount, std::int32_t asked) {
  return asked > 0 ? std::min<int>(asked, groupCount) : groupCount;
}

// The binary places after the point an abundance needs: 0 for a whole number, 1 for a half,
// 2 for a quarter and so on; -1 for a value below 0, not a number, infinite or subnormal.
int BinaryPlaces(float value) {
  const auto bits = std::bit_cast<std::uint32_t>(value);
  if (bits == 0) return 0;                    // +0
  const std::uint32_t exponent = bits >> 23;  // the sign bit is 0 for a positive value
  if (exponent == 0 || exponent >= 0xFF) return -1;
  const std::uint32_t significand = (bits & 0x7FFFFFU) | 0x800000U;
  // value = significand x 2^(exponent - 150), and the significand's trailing zeros cancel.
  const int places = 150 - static_cast<int>(exponent) - std::countr_zero(significand);
  return std::max(places, 0);
}

// Whether every species' sums over any sites, and with `squares` those of its squares, come
// out exact when each addition (and each square) is rounded to single precision: abundances
// of 0 or more that are whole multiples of one power of two 2^-q (counts and cover classes:
// q = 0; halves: q = 1), whose totals are at most 2^24 such units (2^24 units of 2^-2q for
// the squares). Such sums are the same numbers in single and in double precision, whatever
// the order of the additions, so the passes' single-precision totals serve as the
// double-precision sums, to the bit.
bool SumsExactInSinglePrecision(const float* abundance, std::size_t speciesCount,
                                std::size_t siteCount, bool squares) {
  int places = 0;
  std::vector<double> totals(speciesCount, 0.0);
  std::vector<double> squareTotals(speciesCount, 0.0);
  for (std::size_t site = 0; site < siteCount; ++site) {
    const float* column = abundance + site * speciesCount;
    for (std::size_t i = 0; i < speciesCount; ++i) {
      const int needed = BinaryPlaces(column[i]);
      if (needed < 0 || needed > 24) return false;
      places = std::max(places, needed);
      const double x = column[i];
      totals[i] += x;
      squareTotals[i] += x * x;
    }
  }
  // The totals are sums of multiples of 2^-places far below 2^53 units, so exact in double.
  const double largestTotal = std::ldexp(1.0, 24 - places);
  const double largestSquareTotal = std::ldexp(1.0, 24 - 2 * places);
  for (std::size_t i = 0; i < speciesCount; ++i) {
    if (totals[i] > largestTotal || (squares && squareTotals[i] > largestSquareTotal)) {
      return false;
    }
  }
  return true;
}

}  // namespace

AssociationSteps::AssociationSteps(const AnalysisData& data, const AssociationRequest& request)
    : data_(data),
      request_(request),
      speciesCount_(static_cast<std::size_t>(std::max(data.speciesCount, 0))),
      groupCount_(data.groupCount) {
  exactInSinglePrecision_ = SumsExactInSinglePrecision(
      data.abundanceMatrix.Data(), speciesCount_,
      static_cast<std::size_t>(std::max(data.siteCount, 0)), request.correlation);
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

ExtraSums AssociationSteps::PassSums() const {
  if (exactInSinglePrecision_) return Correlations() ? ExtraSums::SingleSquares : ExtraSums::None;
  return Correlations() ? ExtraSums::DoubleTotalsAndSquares : ExtraSums::DoubleTotals;
}

std::size_t AssociationSteps::ScratchSize() const {
  const auto groups = static_cast<std::size_t>(groupCount_);
  // The widened sums, the largest means of each order, then the larger of the two blocks'
  // storage.
  return (2 * groups + groups + 4 * groups + 4) * kBlock;
}

// One species' sums gathered group by group into `gathered` (3 x GroupCount doubles).
SpeciesGroupSums AssociationSteps::SpeciesSums(const ExactSums& sums,
                                               const std::vector<std::int32_t>& sizes,
                                               std::size_t species, double* gathered) const {
  const auto groups = static_cast<std::size_t>(groupCount_);
  for (std::size_t j = 0; j < groups; ++j) {
    gathered[j] = sums.totals[j * speciesCount_ + species];
    gathered[groups + j] = sums.occupied[j * speciesCount_ + species];
    gathered[2 * groups + j] = sums.squares[j * speciesCount_ + species];
  }
  return {gathered, gathered + groups, gathered + 2 * groups, sizes.data(), groupCount_};
}

void AssociationSteps::StepBlockMaxima(const GroupingWork& sums, const std::int32_t* groupSizes,
                                       std::size_t first, std::size_t count, double* scratch,
                                       double* maxima) const {
  const auto groups = static_cast<std::size_t>(groupCount_);
  // Sums exact in single precision are the passes' own totals, widened here a block at a time.
  double* widenedTotals = scratch;
  double* widenedSquares = widenedTotals + groups * kBlock;
  // With both statistics, r.g's combinations are IndVal's (without the one of every group),
  // and its shares IndVal's sums of group means: one visit finds both.
  const bool sharesFromIndicator =
      IndicatorValues() && Correlations() &&
      LargestOrderOf(correlationList_) <= LargestOrderOf(indicatorList_);
  double* largestMeans = widenedSquares + groups * kBlock;
  double* blockScratch = largestMeans + groups * kBlock;
  for (std::size_t part = 0; part < count; part += kBlock) {
    const std::size_t species = std::min(kBlock, count - part);
    BlockSums block{sums.doubleTotals + part,
                    sums.doubleSquares == nullptr ? nullptr : sums.doubleSquares + part,
                    sums.occupiedSites + part,
                    groupSizes,
                    count,
                    count,
                    groupCount_,
                    species};
    if (exactInSinglePrecision_) {
      for (std::size_t j = 0; j < groups; ++j) {
        const float* totals = sums.groupTotals + j * count + part;
        const float* squares = sums.squares == nullptr ? nullptr : sums.squares + j * count + part;
        for (std::size_t b = 0; b < species; ++b) {
          widenedTotals[j * kBlock + b] = totals[b];
          if (squares != nullptr) widenedSquares[j * kBlock + b] = squares[b];
        }
      }
      block.totals = widenedTotals;
      block.squares = widenedSquares;
      block.stride = kBlock;
    }
    double* next = maxima + first + part;
    if (IndicatorValues()) {
      IndicatorBlock(indicatorList_, block, blockScratch, next,
                     sharesFromIndicator ? largestMeans : nullptr);
      next += speciesCount_;
    }
    if (Correlations()) {
      CorrelationBlock(correlationList_, block, blockScratch, next,
                       sharesFromIndicator ? largestMeans : nullptr);
    }
  }
}

void AssociationSteps::Strongest(const std::int32_t* siteGroups,
                                 std::vector<Association>& indicator,
                                 std::vector<Association>& correlation) const {
  std::vector<std::int32_t> sizes(static_cast<std::size_t>(groupCount_));
  for (std::int64_t k = 0; k < data_.siteCount; ++k)
    ++sizes[static_cast<std::size_t>(siteGroups[k] - 1)];
  const ExactSums sums = SumOverSites(data_, siteGroups, sizes);
  const std::size_t combinations = std::max(indicatorList_.Size(), correlationList_.Size());
  std::vector<double> scratch(4 * combinations + 3 * static_cast<std::size_t>(groupCount_));
  double* gathered = scratch.data() + 4 * combinations;
  indicator.clear();
  correlation.clear();
  for (std::size_t i = 0; i < speciesCount_; ++i) {
    const SpeciesGroupSums species = SpeciesSums(sums, sizes, i, gathered);
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
