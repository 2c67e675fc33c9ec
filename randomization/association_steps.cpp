#include "randomization/association_steps.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kova {
namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

int LargestOrder(int groupCount, std::int32_t asked) {
  return asked > 0 ? std::min<int>(asked, groupCount) : groupCount;
}

}  // namespace

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
  work.scratch.resize(3 * combinations + 3 * static_cast<std::size_t>(groupCount_));
  return work;
}

// The sites are the outer loop, so that the abundance table is read in the order it is stored
// and each species' sums add its abundances in site order.
void AssociationSteps::SumGroups(const std::int32_t* siteGroups, Work& work) const {
  std::fill(work.totals.begin(), work.totals.end(), 0.0);
  std::fill(work.occupied.begin(), work.occupied.end(), 0.0);
  std::fill(work.squares.begin(), work.squares.end(), 0.0);
  std::fill(work.sizes.begin(), work.sizes.end(), 0);
  const float* abundance = data_.abundanceMatrix.Data();
  const bool squares = !work.squares.empty();
  for (std::int64_t k = 0; k < data_.siteCount; ++k) {
    const auto group = static_cast<std::size_t>(siteGroups[k] - 1);
    ++work.sizes[group];
    const float* column = abundance + static_cast<std::size_t>(k) * speciesCount_;
    double* totals = work.totals.data() + group * speciesCount_;
    double* occupied = work.occupied.data() + group * speciesCount_;
    for (std::size_t i = 0; i < speciesCount_; ++i) {
      const double x = column[i];
      totals[i] += x;
      occupied[i] += x > 0.0 ? 1.0 : 0.0;
    }
    if (!squares) continue;
    double* squared = work.squares.data() + group * speciesCount_;
    for (std::size_t i = 0; i < speciesCount_; ++i) {
      const double x = column[i];
      squared[i] += x * x;
    }
  }
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

void AssociationSteps::StepMaxima(const std::int32_t* siteGroups, Work& work,
                                  double* maxima) const {
  SumGroups(siteGroups, work);
  const std::size_t combinations = std::max(indicatorList_.Size(), correlationList_.Size());
  double* gathered = work.scratch.data() + 3 * combinations;
  double* next = maxima;
  if (IndicatorValues()) {
    for (std::size_t i = 0; i < speciesCount_; ++i) {
      const SpeciesGroupSums sums = SpeciesSums(work, i, gathered);
      *next++ = StrongestIndicatorValue(indicatorList_, sums, work.scratch.data()).value;
    }
  }
  if (Correlations()) {
    for (std::size_t i = 0; i < speciesCount_; ++i) {
      const SpeciesGroupSums sums = SpeciesSums(work, i, gathered);
      *next++ = StrongestCorrelation(correlationList_, sums, work.scratch.data()).value;
    }
  }
}

void AssociationSteps::Strongest(const std::int32_t* siteGroups, Work& work,
                                 std::vector<Association>& indicator,
                                 std::vector<Association>& correlation) const {
  SumGroups(siteGroups, work);
  const std::size_t combinations = std::max(indicatorList_.Size(), correlationList_.Size());
  double* gathered = work.scratch.data() + 3 * combinations;
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
