#include "report/run_picture.h"

#include "randomization/run_statistics.h"
#include "report/result_tables.h"
#include "plots/distribution_layout.h"

namespace kova {

plots::Picture RunPicture(const RunOutcome& outcome) {
  std::vector<plots::Distribution> distributions;
  for (int type = 0; type < kIndexTypeCount; ++type) {
    const VariantOutcome& variant = outcome.variants[type];
    distributions.push_back({TrimmedTypeCode(type + 1), variant.stepSums, variant.observedSum,
                             variant.zScore,
                             RandomizationPValue(variant.sumsAtLeastObserved, outcome.stepCount)});
  }
  return plots::DistributionPicture(
      distributions, {outcome.tableFile, outcome.groupsFile, outcome.randomSeed, outcome.stepCount});
}

}  // namespace kova
