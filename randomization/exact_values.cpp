#include "randomization/exact_values.h"

#include <algorithm>
#include <cmath>

namespace kova {

// The sites are the outer loop, so that the abundance table is read in the order it is stored.
ExactSums SumOverSites(const AnalysisData& data, const std::int32_t* siteGroups,
                       const std::vector<std::int32_t>& groupSizes) {
  const auto speciesCount = static_cast<std::size_t>(data.speciesCount > 0 ? data.speciesCount : 0);
  const std::size_t entries = speciesCount * groupSizes.size();
  ExactSums sums{std::vector<double>(entries), std::vector<double>(entries),
                 std::vector<double>(entries), std::vector<double>(entries)};
  const float* abundance = data.abundanceMatrix.Data();
  for (std::int64_t k = 0; k < data.siteCount; ++k) {
    const std::size_t group = static_cast<std::size_t>(siteGroups[k] - 1) * speciesCount;
    const float* column = abundance + static_cast<std::size_t>(k) * speciesCount;
    for (std::size_t i = 0; i < speciesCount; ++i) {
      const double abundance = column[i];
      sums.totals[group + i] += abundance;
      sums.occupied[group + i] += abundance > 0.0 ? 1.0 : 0.0;
      sums.squares[group + i] += abundance * abundance;
    }
  }
  for (std::int64_t k = 0; k < data.siteCount; ++k) {
    const auto g = static_cast<std::size_t>(siteGroups[k] - 1);
    const std::size_t group = g * speciesCount;
    const float* column = abundance + static_cast<std::size_t>(k) * speciesCount;
    for (std::size_t i = 0; i < speciesCount; ++i) {
      sums.deviations[group + i] += std::fabs(column[i] - sums.totals[group + i] / groupSizes[g]);
    }
  }
  return sums;
}

ExactSpeciesValues::ExactSpeciesValues(const ExactSums& sums,
                                       const std::vector<std::int32_t>& groupSizes,
                                       std::size_t species, std::size_t speciesCount)
    : sums_(sums), sizes_(groupSizes), species_(species), stride_(speciesCount) {
  for (std::size_t j = 0; j < sizes_.size(); ++j) {
    meanSum_ += Mean(j);
    largestMean_ = std::max(largestMean_, Mean(j));
    occupiedSites_ += Occupied(j);
    frequencySum_ += Frequency(j);
    largestFrequency_ = std::max(largestFrequency_, Frequency(j));
  }
}

double ExactSpeciesValues::Evenness(std::size_t j) const {
  return Total(j) > 0.0 ? 1.0 - sums_.deviations[j * stride_ + species_] * 0.5 / Total(j) : 0.0;
}

double ExactSpeciesValues::Value(int indexType, std::size_t j) const {
  // The contrasts set the group against the mean of the other groups.
  const double others = static_cast<double>(sizes_.size()) - 1.0;
  switch (indexType) {
    case 1:
      return Mean(j) > 0.0 ? Share(j) * Frequency(j) : Mean(j);
    case 2:
      return Mean(j) * Evenness(j) / meanSum_;
    case 3:
      return (Mean(j) - (meanSum_ - Mean(j)) / others) / largestMean_ * Evenness(j);
    case 4:
      return Occupied(j) * Occupied(j) / (sizes_[j] * occupiedSites_);
    default:
      return (Frequency(j) - (frequencySum_ - Frequency(j)) / others) / largestFrequency_ *
             Frequency(j);
  }
}

}  // namespace kova
