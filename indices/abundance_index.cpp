#include "indices/abundance_index.h"

#include "indices/work_storage.h"

namespace kova {

bool AbundanceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                    const std::int32_t& groupCount, const std::int32_t& siteGroups,
                    const std::int32_t& groupSizes, const float& abundanceMatrix, float& indexTable,
                    const std::int32_t& indexType, KernelBuild build) {
  KernelArguments arguments =
      GroupingArguments(speciesCount, siteCount, groupCount, siteGroups, groupSizes, indexTable);
  arguments.abundanceMatrix = &abundanceMatrix;
  arguments.indexType = indexType;

  // The storage per group first: once a part is refused, nothing more is asked for.
  const auto groupMeans =
      TryObtainWorkStorage<double>(arguments.speciesCount, arguments.groupCount);
  if (groupMeans == nullptr) return false;
  const auto evenness = TryObtainWorkStorage<float>(arguments.speciesCount, arguments.groupCount);
  if (evenness == nullptr) return false;
  const auto meanSums = TryObtainWorkStorage<float>(arguments.speciesCount, 1);
  const auto largestMeans = TryObtainWorkStorage<float>(arguments.speciesCount, 1);
  if (meanSums == nullptr || largestMeans == nullptr) return false;

  CoresFor(build).abundance(arguments,
                            {groupMeans.get(), evenness.get(), meanSums.get(), largestMeans.get()});
  return true;
}

}  // namespace kova
