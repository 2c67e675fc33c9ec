#include "indices/abundance_presence_index.h"

#include "indices/kernel_cores.h"
#include "indices/work_storage.h"

namespace kova {

void AbundancePresenceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                            const std::int32_t& groupCount, const float& abundanceMatrix,
                            const std::int32_t& siteGroups, const std::int32_t& groupSizes,
                            const float& presenceMatrix, float& indexTable) {
  KernelArguments arguments =
      GroupingArguments(speciesCount, siteCount, groupCount, siteGroups, groupSizes, indexTable);
  arguments.abundanceMatrix = &abundanceMatrix;
  arguments.presenceMatrix = &presenceMatrix;

  const auto groupTotals = ObtainWorkStorage<float>(arguments.speciesCount, arguments.groupCount);
  const auto occupiedSites = ObtainWorkStorage<float>(arguments.speciesCount, arguments.groupCount);
  const auto meanSums = ObtainWorkStorage<float>(arguments.speciesCount, 1);

  ChosenCores().abundancePresence(arguments,
                                  {groupTotals.get(), occupiedSites.get(), meanSums.get()});
}

}  // namespace kova
