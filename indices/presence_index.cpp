#include "indices/presence_index.h"

#include "indices/kernel_cores.h"
#include "indices/work_storage.h"

namespace kova {

void PresenceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                   const std::int32_t& groupCount, const std::int32_t& siteGroups,
                   const std::int32_t& groupSizes, const float& presenceMatrix, float& indexTable,
                   const std::int32_t& indexType) {
  KernelArguments arguments =
      GroupingArguments(speciesCount, siteCount, groupCount, siteGroups, groupSizes, indexTable);
  arguments.presenceMatrix = &presenceMatrix;
  arguments.indexType = indexType;

  const auto occupiedSites = ObtainWorkStorage<float>(arguments.speciesCount, 1);
  const auto frequencySums = ObtainWorkStorage<float>(arguments.speciesCount, 1);
  const auto largestFrequencies = ObtainWorkStorage<float>(arguments.speciesCount, 1);

  ChosenCores().presence(arguments,
                         {occupiedSites.get(), frequencySums.get(), largestFrequencies.get()});
}

}  // namespace kova
