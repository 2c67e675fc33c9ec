#include "driver/observed_species.h"

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "driver/site_shuffle.h"
#include "indices/work_storage.h"

namespace kova {
namespace {

// Adds a site's abundances to its group's totals and its presences (1.0 where the abundance
// is greater than 0.0, as the presence table has them) to its group's occupied-site counts,
// each sum rounded to single precision.
void AddSite(float* __restrict totals, float* __restrict occupied,
             const float* __restrict abundances, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    totals[i] = static_cast<float>(static_cast<double>(totals[i]) + abundances[i]);
    occupied[i] =
        static_cast<float>(static_cast<double>(occupied[i]) + (abundances[i] > 0.0f ? 1.0f : 0.0f));
  }
}

// APCF's factors at each species' APCF group, with the kernel's quantities and roundings:
// group totals and occupied-site counts summed in site order, each mean T / n stored, their
// sum S in group order; the share is M(g) / S and the frequency F(g) / n(g). The sites are
// the outer loop, so that the abundance table is read once, in the order it is stored.
void FindApcfFactors(const AnalysisData& data, const std::int32_t* siteGroups,
                     const std::vector<std::int32_t>& groupSizes, SpeciesOutcome& species) {
  const auto speciesCount = static_cast<std::size_t>(data.speciesCount > 0 ? data.speciesCount : 0);
  const std::size_t groupCount = groupSizes.size();
  std::vector<float> totals(speciesCount * groupCount, 0.0f);
  std::vector<float> occupied(speciesCount * groupCount, 0.0f);
  const float* abundance = data.abundanceMatrix.Data();
  for (std::int64_t k = 0; k < data.siteCount; ++k) {
    const std::size_t group = static_cast<std::size_t>(siteGroups[k] - 1) * speciesCount;
    const std::size_t column = static_cast<std::size_t>(k) * speciesCount;
    AddSite(totals.data() + group, occupied.data() + group, abundance + column, speciesCount);
  }
  constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
  for (std::size_t i = 0; i < speciesCount; ++i) {
    const std::int32_t g = species.indicators[0][i].group;
    species.apcfShare[i] = kNone;
    species.apcfFrequency[i] = kNone;
    if (g == 0) continue;
    float sumOfMeans = 0.0f;
    float meanAtG = 0.0f;
    for (std::size_t j = 0; j < groupCount; ++j) {
      const auto mean =
          static_cast<float>(static_cast<double>(totals[j * speciesCount + i]) / groupSizes[j]);
      sumOfMeans = static_cast<float>(static_cast<double>(sumOfMeans) + mean);
      if (j + 1 == static_cast<std::size_t>(g)) meanAtG = mean;
    }
    const auto at = static_cast<std::size_t>(g - 1);
    species.apcfShare[i] = static_cast<float>(static_cast<double>(meanAtG) / sumOfMeans);
    species.apcfFrequency[i] =
        static_cast<float>(static_cast<double>(occupied[at * speciesCount + i]) / groupSizes[at]);
  }
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

  FindApcfFactors(data, siteGroups, groupSizes, species);
}

}  // namespace kova
