#include "inputs/analysis_data.h"

namespace kova {

void AllocateArrays(AnalysisData& data) {
  data.abundanceMatrix = ZeroedArray<float>(ArrayEntries(data.speciesCount, data.siteCount));
  data.siteGroups = ZeroedArray<std::int32_t>(ArrayEntries(data.siteCount));
  data.groupSizes = ZeroedArray<std::int32_t>(ArrayEntries(data.groupCount));
  data.presenceMatrix = ZeroedArray<float>(ArrayEntries(data.speciesCount, data.siteCount));
  data.indexTable = ZeroedArray<float>(ArrayEntries(data.speciesCount, data.groupCount));
}

void DerivePresence(AnalysisData& data) {
  const float* abundance = data.abundanceMatrix.Data();
  float* presence = data.presenceMatrix.Data();
  for (std::int64_t entry = 0; entry < data.abundanceMatrix.Size(); ++entry) {
    presence[entry] = abundance[entry] > 0.0f ? 1.0f : 0.0f;
  }
}

}  // namespace kova
