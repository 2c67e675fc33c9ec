#include "driver/randomization_step.h"

#include "driver/site_shuffle.h"
#include "indices/abundance_index.h"
#include "indices/abundance_presence_index.h"
#include "indices/presence_index.h"

namespace kova {
namespace {

// Leaves the table of `indexType` in IndexTable; type 1 is already there from the step's
// first kernel call.
void ComputeIndexTable(AnalysisData& data, const std::int32_t& indexType) {
  if (indexType == 2 || indexType == 3) {
    AbundanceIndex(data.speciesCount, data.siteCount, data.groupCount, data.siteGroups.First(),
                   data.groupSizes.First(), data.abundanceMatrix.First(), data.indexTable.First(),
                   indexType);
  } else if (indexType == 4 || indexType == 5) {
    PresenceIndex(data.speciesCount, data.siteCount, data.groupCount, data.siteGroups.First(),
                  data.groupSizes.First(), data.presenceMatrix.First(), data.indexTable.First(),
                  indexType);
  }
}

}  // namespace

void RunRandomizationStep(AnalysisData& data, std::int32_t step, float* speciesMaximum,
                          const IndexTypeDone& indexTypeDone) {
  if (step >= 2) ShuffleSiteGroups(data.siteGroups.Data(), data.siteCount, data.randomSeed);
  RecountGroupSizes(data.siteGroups.Data(), data.siteCount, data.groupSizes.Data(),
                    data.groupCount);
  AbundancePresenceIndex(data.speciesCount, data.siteCount, data.groupCount,
                         data.abundanceMatrix.First(), data.siteGroups.First(),
                         data.groupSizes.First(), data.presenceMatrix.First(),
                         data.indexTable.First());
  for (std::int32_t indexType = 1; indexType <= kIndexTypeCount; ++indexType) {
    ComputeIndexTable(data, indexType);
    indexTypeDone(indexType, SummarizeIndexTable(data.indexTable.Data(), data.speciesCount,
                                                 data.groupCount, speciesMaximum));
  }
}

}  // namespace kova
