#include "indices/abundance_presence_index.h"

#include "indices/work_storage.h"

namespace kova {

bool AbundancePresenceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                            const std::int32_t& groupCount, const float& abundanceMatrix,
                            const std::int32_t& siteGroups, const std::int32_t& groupSizes,
                            const float& presenceMatrix, float& indexTable, KernelBuild build) {
  KernelArguments arguments =
      GroupingArguments(speciesCount, siteCount, groupCount, siteGroups, groupSizes, indexTable);
  arguments.abundanceMatrix = &abundanceMatrix;
  arguments.presenceMatrix = &presenceMatrix;

  // The storage per group first: once a part is refused, nothing more is asked for.
  const auto groupTotals =
      TryObtainWorkStorage<float>(arguments.speciesCount, arguments.groupCount);
  if (groupTotals == nullptr) return false;
  const auto occupiedSites =
      TryObtainWorkStorage<float>(arguments.speciesCount, arguments.groupCount);
  if (occupiedSites == nullptr) return false;
  const auto meanSums = TryObtainWorkStorage<float>(arguments.speciesCount, 1);
  if (meanSums == nullptr) return false;

  CoresFor(build).abundancePresence(arguments,
                                    {groupTotals.get(), occupiedSites.get(), meanSums.get()});
  return true;
}

}  // namespace kova
