#include "randomization/observed_species.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "inputs/zeroed_array.h"
#include "randomization/exact_values.h"
#include "randomization/site_shuffle.h"

namespace kova {
namespace {

// The reported values at the groups the tables chose, and APCF's factors there.
void FindExactValues(const AnalysisData& data, const std::int32_t* siteGroups,
                     const std::vector<std::int32_t>& groupSizes, SpeciesOutcome& species) {
  const auto speciesCount = static_cast<std::size_t>(data.speciesCount > 0 ? data.speciesCount : 0);
  const ExactSums sums = SumOverSites(data, siteGroups, groupSizes);
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  for (std::size_t i = 0; i < speciesCount; ++i) {
    const ExactSpeciesValues values(sums, groupSizes, i, speciesCount);
    species.absent[i] = values.Absent();
    for (int type = 0; type < kIndexTypeCount; ++type) {
      SpeciesIndicator& indicator = species.indicators[type][i];
      indicator.value =
          indicator.group == 0 ? kNone
                               : values.Value(type + 1, static_cast<std::size_t>(indicator.group - 1));
    }
    const std::int32_t g = species.indicators[0][i].group;
    species.apcfShare[i] = g == 0 ? kNone : values.Share(static_cast<std::size_t>(g - 1));
    species.apcfFrequency[i] = g == 0 ? kNone : values.Frequency(static_cast<std::size_t>(g - 1));
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
  if (work == nullptr) ReportAllocationFailure();
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

  FindExactValues(data, siteGroups, groupSizes, species);
}

}  // namespace kova
