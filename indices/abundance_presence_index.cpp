#include "indices/abundance_presence_index.h"

#include "indices/kernel_cores.h"
#include "indices/work_storage.h"

namespace kova {

void AbundancePresenceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                            const std::int32_t& groupCount, const float& abundanceMatrix,
                            const std::int32_t& siteGroups, const std::int32_t& groupSizes,
                            const float& presenceMatrix, float& indexTable) {
  KernelArguments arguments;
  arguments.speciesCount = Extent(speciesCount);
  arguments.siteCount = Extent(siteCount);
  arguments.groupCount = Extent(groupCount);
  arguments.siteGroups = &siteGroups;
  arguments.groupSizes = &groupSizes;
  arguments.abundanceMatrix = &abundanceMatrix;
  arguments.presenceMatrix = &presenceMatrix;
  arguments.indexTable = &indexTable;

  const auto groupTotals = ObtainWorkStorage<float>(arguments.speciesCount, arguments.groupCount);
  const auto occupiedSites = ObtainWorkStorage<float>(arguments.speciesCount, arguments.groupCount);
  const auto meanSums = ObtainWorkStorage<float>(arguments.speciesCount, 1);

  ChosenCores().abundancePresence(arguments,
                                  {groupTotals.get(), occupiedSites.get(), meanSums.get()});
}

}  // namespace kova
