#include "inputs/analysis_data.h"

namespace kova {

void AllocateArrays(AnalysisData& data) {
  data.abundanceMatrix = ZeroedArray<float>(ArrayEntries(data.speciesCount, data.siteCount));
  data.siteGroups = ZeroedArray<std::int32_t>(ArrayEntries(data.siteCount));
  data.groupSizes = ZeroedArray<std::int32_t>(ArrayEntries(data.groupCount));
  data.indexTable = ZeroedArray<float>(ArrayEntries(data.speciesCount, data.groupCount));
}

}  // namespace kova
