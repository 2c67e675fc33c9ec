#include "indices/abundance_index.h"

#include "indices/kernel_cores.h"
#include "indices/work_storage.h"

namespace kova {

void AbundanceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                    const std::int32_t& groupCount, const std::int32_t& siteGroups,
                    const std::int32_t& groupSizes, const float& abundanceMatrix, float& indexTable,
                    const std::int32_t& indexType) {
  KernelArguments arguments =
      GroupingArguments(speciesCount, siteCount, groupCount, siteGroups, groupSizes, indexTable);
  arguments.abundanceMatrix = &abundanceMatrix;
  arguments.indexType = indexType;

  const auto groupMeans = ObtainWorkStorage<double>(arguments.speciesCount, arguments.groupCount);
  const auto evenness = ObtainWorkStorage<float>(arguments.speciesCount, arguments.groupCount);
  const auto meanSums = ObtainWorkStorage<float>(arguments.speciesCount, 1);
  const auto largestMeans = ObtainWorkStorage<float>(arguments.speciesCount, 1);

  ChosenCores().abundance(arguments,
                          {groupMeans.get(), evenness.get(), meanSums.get(), largestMeans.get()});
}

}  // namespace kova
