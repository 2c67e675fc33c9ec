#include "driver/observed_species.h"

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "driver/site_shuffle.h"
#include "indices/work_storage.h"

namespace kova {
namespace {

// APCF's factors for species i at group g (from 1), with the kernel's quantities and
// roundings: group totals and occupied-site counts summed in site order, each mean T / n
// stored, their sum S in group order; the share is M(g) / S and the frequency F(g) / n(g).
struct ApcfFactors {
  float share = 0.0f;
  float frequency = 0.0f;
};

ApcfFactors FactorsAt(const AnalysisData& data, const std::int32_t* siteGroups,
                      const std::vector<std::int32_t>& groupSizes, std::int64_t i,
                      std::int32_t g, std::vector<float>& totals, std::vector<float>& occupied) {
  const std::int64_t species = data.speciesCount;
  std::fill(totals.begin(), totals.end(), 0.0f);
  std::fill(occupied.begin(), occupied.end(), 0.0f);
  for (std::int64_t k = 0; k < data.siteCount; ++k) {
    const auto group = static_cast<std::size_t>(siteGroups[k] - 1);
    const std::int64_t entry = i + k * species;
    totals[group] =
        static_cast<float>(static_cast<double>(totals[group]) + data.abundanceMatrix.Data()[entry]);
    occupied[group] = static_cast<float>(static_cast<double>(occupied[group]) +
                                         data.presenceMatrix.Data()[entry]);
  }
  float sumOfMeans = 0.0f;
  float meanAtG = 0.0f;
  for (std::size_t j = 0; j < totals.size(); ++j) {
    const auto mean = static_cast<float>(static_cast<double>(totals[j]) / groupSizes[j]);
    sumOfMeans = static_cast<float>(static_cast<double>(sumOfMeans) + mean);
    if (static_cast<std::int32_t>(j) + 1 == g) meanAtG = mean;
  }
  const auto at = static_cast<std::size_t>(g - 1);
  return {static_cast<float>(static_cast<double>(meanAtG) / sumOfMeans),
          static_cast<float>(static_cast<double>(occupied[at]) / groupSizes[at])};
}

}  // namespace

SpeciesIndicator StrongestEntry(const float* row, std::int64_t groupCount, std::int64_t stride) {
  SpeciesIndicator strongest;
  for (std::int64_t k = 0; k < groupCount; ++k) {
    const float entry = row[k * stride];
    if (std::fabs(entry) > std::fabs(strongest.maximum)) {
      strongest.maximum = entry;
      strongest.group = static_cast<std::int32_t>(k + 1);
    }
  }
  // A maximum of 0.0: every entry ties at magnitude 0.0 or is NaN; the first tie is its group.
  for (std::int64_t k = 0; strongest.group == 0 && k < groupCount; ++k) {
    if (std::fabs(row[k * stride]) == 0.0f) strongest.group = static_cast<std::int32_t>(k + 1);
  }
  return strongest;
}

void FindObservedIndicators(const AnalysisData& data, const StepConstants& constants,
                            const std::int32_t* siteGroups, SpeciesOutcome& species) {
  const std::size_t speciesCount = constants.SpeciesCount();
  const std::size_t groupCount = constants.GroupCount();
  std::vector<std::int32_t> groupSizes(std::max<std::size_t>(groupCount, 1));
  RecountGroupSizes(siteGroups, data.siteCount, groupSizes.data(), data.groupCount);

  // The tables as the steps compute them, so that each maximum is the one step 1 counted.
  const std::unique_ptr<StepWork> work = StepWork::TryObtain(constants);
  if (work == nullptr) ReportWorkStorageFailure();
  std::unique_ptr<float[]> tables[kIndexTypeCount];
  float* pointers[kIndexTypeCount] = {};
  for (int type = 0; type < kIndexTypeCount; ++type) {
    tables[type] = ObtainWorkStorage<float>(std::max<std::size_t>(speciesCount, 1),
                                            std::max<std::size_t>(groupCount, 1));
    pointers[type] = tables[type].get();
  }
  const Grouping grouping{siteGroups, groupSizes.data()};
  StepSummaries summaries;
  ComputeSteps(constants, &grouping, 1, *work, &summaries, &pointers);

  const auto rows = static_cast<std::int64_t>(speciesCount);
  for (int type = 0; type < kIndexTypeCount; ++type) {
    std::vector<SpeciesIndicator>& indicators = species.indicators[type];
    for (std::int64_t i = 0; i < rows; ++i) {
      const SpeciesIndicator strongest =
          StrongestEntry(pointers[type] + i, static_cast<std::int64_t>(groupCount), rows);
      indicators[static_cast<std::size_t>(i)].group = strongest.group;
      indicators[static_cast<std::size_t>(i)].maximum = strongest.maximum;
    }
  }

  std::vector<float> totals(groupCount);
  std::vector<float> occupied(groupCount);
  constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
  for (std::int64_t i = 0; i < rows; ++i) {
    const std::int32_t group = species.indicators[0][static_cast<std::size_t>(i)].group;
    ApcfFactors factors{kNone, kNone};
    if (group != 0) factors = FactorsAt(data, siteGroups, groupSizes, i, group, totals, occupied);
    species.apcfShare[static_cast<std::size_t>(i)] = factors.share;
    species.apcfFrequency[static_cast<std::size_t>(i)] = factors.frequency;
  }
}

}  // namespace kova
