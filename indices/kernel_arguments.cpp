#include "indices/kernel_cores.h"

namespace kova {
namespace {

// A negative count is an extent of 0.
std::size_t Extent(std::int32_t count) {
  return count < 0 ? 0 : static_cast<std::size_t>(count);
}

}  // namespace

KernelArguments GroupingArguments(std::int32_t speciesCount, std::int32_t siteCount,
                                  std::int32_t groupCount, const std::int32_t& siteGroups,
                                  const std::int32_t& groupSizes, float& indexTable) {
  KernelArguments arguments;
  arguments.speciesCount = Extent(speciesCount);
  arguments.siteCount = Extent(siteCount);
  arguments.groupCount = Extent(groupCount);
  arguments.siteGroups = &siteGroups;
  arguments.groupSizes = &groupSizes;
  arguments.indexTable = &indexTable;
  return arguments;
}

}  // namespace kova
