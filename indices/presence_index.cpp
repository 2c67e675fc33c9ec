#include "indices/presence_index.h"

#include "indices/work_storage.h"

namespace kova {

bool PresenceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                   const std::int32_t& groupCount, const std::int32_t& siteGroups,
                   const std::int32_t& groupSizes, const float& presenceMatrix, float& indexTable,
                   const std::int32_t& indexType, KernelBuild build) {
  KernelArguments arguments =
      GroupingArguments(speciesCount, siteCount, groupCount, siteGroups, groupSizes, indexTable);
  arguments.presenceMatrix = &presenceMatrix;
  arguments.indexType = indexType;

  const auto occupiedSites = TryObtainWorkStorage<float>(arguments.speciesCount, 1);
  const auto frequencySums = TryObtainWorkStorage<float>(arguments.speciesCount, 1);
  const auto largestFrequencies = TryObtainWorkStorage<float>(arguments.speciesCount, 1);
  if (occupiedSites == nullptr || frequencySums == nullptr || largestFrequencies == nullptr) {
    return false;
  }

  CoresFor(build).presence(arguments,
                           {occupiedSites.get(), frequencySums.get(), largestFrequencies.get()});
  return true;
}

}  // namespace kova
