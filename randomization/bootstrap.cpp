#include "randomization/bootstrap.h"

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <cmath>
#include <limits>
#include <new>
#include <system_error>
#include <thread>

namespace kova {
namespace {

// SplitMix64: a small generator whose every output is fixed by its state, so that a resample
// drawn on any thread, or by a test, is the same.
class ResampleGenerator {
 public:
  ResampleGenerator(std::int32_t seed, std::int64_t resample)
      : state_((std::uint64_t{static_cast<std::uint32_t>(seed)} << 32) ^
               static_cast<std::uint64_t>(resample)) {
    Next();
  }

  // A whole number from 0 to count - 1: a uniform double in [0, 1) scaled and cut.
  std::int64_t Below(std::int64_t count) {
    const double uniform = static_cast<double>(Next() >> 11) * 0x1p-53;
    return std::min(static_cast<std::int64_t>(uniform * static_cast<double>(count)), count - 1);
  }

 private:
  std::uint64_t Next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  std::uint64_t state_;
};

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
// Values kept per species and resample: APCF's value, A and B, then IndVal's.
constexpr std::size_t kValuesPerResample = 6;
// The values one thread keeps at a time, which sets how many species it resamples together.
constexpr std::size_t kValuesPerThread = std::size_t{4} << 20;

// The resampled values of the species `first` to `first + count - 1`, resample by resample.
class BlockResampler {
 public:
  BlockResampler(const AnalysisData& data, const std::int32_t* siteGroups,
                 const std::vector<BootstrapTarget>& targets, const BootstrapPlan& plan)
      : data_(data), siteGroups_(siteGroups), targets_(targets), plan_(plan),
        groups_(static_cast<std::size_t>(data.groupCount)), sizes_(groups_, 0) {
    for (std::int32_t k = 0; k < data.siteCount; ++k)
      ++sizes_[static_cast<std::size_t>(siteGroups[k] - 1)];
  }

  // Fills `intervals` for the species of the block.
  void Resample(std::size_t first, std::size_t count, std::vector<SpeciesIntervals>& intervals) {
    const auto resamples = static_cast<std::size_t>(plan_.resamples);
    values_.assign(kValuesPerResample * resamples * count, kNone);
    totals_.resize(groups_ * count);
    occupied_.resize(groups_ * count);
    for (std::size_t b = 0; b < resamples; ++b) {
      SumResample(static_cast<std::int64_t>(b), first, count);
      for (std::size_t i = 0; i < count; ++i)
        KeepValues(first + i, i, count, &values_[(i * resamples + b) * kValuesPerResample]);
    }
    for (std::size_t i = 0; i < count; ++i) {
      const double* kept = &values_[i * resamples * kValuesPerResample];
      Interval found[kValuesPerResample];
      for (std::size_t statistic = 0; statistic < kValuesPerResample; ++statistic)
        found[statistic] = IntervalOf(kept + statistic, resamples);
      intervals[first + i] = {{found[0], found[1], found[2]}, {found[3], found[4], found[5]}};
    }
  }

 private:
  // The block's group totals and occupied-site counts on resample `b`.
  void SumResample(std::int64_t b, std::size_t first, std::size_t count) {
    std::fill(totals_.begin(), totals_.end(), 0.0);
    std::fill(occupied_.begin(), occupied_.end(), 0.0);
    const std::vector<std::int32_t> sites =
        ResampledSites(siteGroups_, data_.siteCount, data_.groupCount, plan_.seed, b);
    const auto speciesCount = static_cast<std::size_t>(data_.speciesCount);
    for (std::size_t k = 0; k < sites.size(); ++k) {
      const std::size_t group = static_cast<std::size_t>(siteGroups_[k] - 1) * count;
      const float* column =
          data_.abundanceMatrix.Data() + static_cast<std::size_t>(sites[k]) * speciesCount + first;
      for (std::size_t i = 0; i < count; ++i) {
        totals_[group + i] += column[i];
        occupied_[group + i] += column[i] > 0.0f ? 1.0 : 0.0;
      }
    }
  }

  void KeepValues(std::size_t species, std::size_t i, std::size_t count, double* kept) const {
    double meanSum = 0.0;
    for (std::size_t j = 0; j < groups_; ++j)
      meanSum += totals_[j * count + i] / sizes_[j];
    const BootstrapTarget& target = targets_[species];
    if (target.group > 0) {
      const auto g = static_cast<std::size_t>(target.group - 1);
      const double a = totals_[g * count + i] / sizes_[g] / meanSum;
      const double b = occupied_[g * count + i] / sizes_[g];
      kept[0] = a * b;
      kept[1] = a;
      kept[2] = b;
    }
    if (plan_.combinations == nullptr || target.combination < 0) return;
    const GroupSet set = plan_.combinations->sets[static_cast<std::size_t>(target.combination)];
    double mean = 0.0;
    double present = 0.0;
    double sites = 0.0;
    for (std::size_t j = 0; j < groups_; ++j) {
      if ((set >> j & 1U) == 0) continue;
      mean += totals_[j * count + i] / sizes_[j];
      present += occupied_[j * count + i];
      sites += sizes_[j];
    }
    kept[3] = mean / meanSum * (present / sites);
    kept[4] = mean / meanSum;
    kept[5] = present / sites;
  }

  Interval IntervalOf(const double* values, std::size_t resamples) {
    sorted_.clear();
    for (std::size_t b = 0; b < resamples; ++b) {
      const double value = values[b * kValuesPerResample];
      if (!std::isnan(value)) sorted_.push_back(value);
    }
    std::sort(sorted_.begin(), sorted_.end());
    return {Quantile(sorted_, (1.0 - plan_.level) / 2), Quantile(sorted_, (1.0 + plan_.level) / 2)};
  }

  const AnalysisData& data_;
  const std::int32_t* siteGroups_;
  const std::vector<BootstrapTarget>& targets_;
  const BootstrapPlan& plan_;
  std::size_t groups_;
  std::vector<std::int32_t> sizes_;
  std::vector<double> values_;
  std::vector<double> totals_;
  std::vector<double> occupied_;
  std::vector<double> sorted_;
};

}  // namespace

std::vector<std::int32_t> ResampledSites(const std::int32_t* siteGroups, std::int32_t siteCount,
                                         std::int32_t groupCount, std::int32_t seed,
                                         std::int64_t resample) {
  std::vector<std::vector<std::int32_t>> sitesOfGroup(static_cast<std::size_t>(groupCount));
  for (std::int32_t k = 0; k < siteCount; ++k)
    sitesOfGroup[static_cast<std::size_t>(siteGroups[k] - 1)].push_back(k);
  ResampleGenerator generator(seed, resample);
  std::vector<std::int32_t> sites(static_cast<std::size_t>(siteCount));
  for (std::int32_t k = 0; k < siteCount; ++k) {
    const auto& group = sitesOfGroup[static_cast<std::size_t>(siteGroups[k] - 1)];
    sites[static_cast<std::size_t>(k)] =
        group[static_cast<std::size_t>(generator.Below(static_cast<std::int64_t>(group.size())))];
  }
  return sites;
}

double Quantile(const std::vector<double>& sorted, double share) {
  if (sorted.empty()) return kNone;
  const double at = share * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - std::floor(at)) * (sorted[above] - sorted[below]);
}

std::vector<SpeciesIntervals> BootstrapIntervals(const AnalysisData& data,
                                                 const std::int32_t* siteGroups,
                                                 const std::vector<BootstrapTarget>& targets,
                                                 const BootstrapPlan& plan) {
  const auto speciesCount = static_cast<std::size_t>(std::max(data.speciesCount, 0));
  const auto resamples = static_cast<std::size_t>(std::max<std::int64_t>(plan.resamples, 1));
  const std::size_t perBlock =
      std::max<std::size_t>(1, kValuesPerThread / (resamples * kValuesPerResample));
  std::vector<SpeciesIntervals> intervals;
  try {
    intervals.resize(speciesCount);
  } catch (const std::bad_alloc&) {
    return {};
  }
  const std::size_t blocks = (speciesCount + perBlock - 1) / perBlock;
  const auto threads = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(plan.threads, 1)),
                                               1, std::max<std::size_t>(blocks, 1));
  std::fenv_t environment;
  std::fegetenv(&environment);
  // Threads take the blocks in turn; every species' intervals come from its own resamples
  // whichever thread computes them.
  std::atomic<std::size_t> nextBlock{0};
  std::atomic<bool> failed{false};
  const auto work = [&] {
    std::fesetenv(&environment);
    try {
      BlockResampler resampler(data, siteGroups, targets, plan);
      for (std::size_t block; (block = nextBlock++) < blocks && !failed;) {
        const std::size_t first = block * perBlock;
        resampler.Resample(first, std::min(perBlock, speciesCount - first), intervals);
      }
    } catch (const std::bad_alloc&) {
      failed = true;
    }
  };
  {
    std::vector<std::jthread> helpers;
    try {
      for (std::size_t thread = 1; thread < threads; ++thread)
        helpers.emplace_back(work);
    } catch (const std::system_error&) {
      // The system gives no more threads: those started, and this one, take every block.
    } catch (const std::bad_alloc&) {
    }
    work();
  }
  if (failed) return {};
  return intervals;
}

}  // namespace kova
