#include "randomization/site_shuffle.h"

#include <utility>

#include "indices/uniform_random.h"

namespace kova {

std::int64_t DrawnSite(float u, std::int32_t siteCount) {
  const auto site = static_cast<std::int64_t>(static_cast<double>(u) * siteCount + 1.0);
  return site > siteCount ? siteCount : site;
}

void ShuffleSiteGroups(std::int32_t* siteGroups, std::int32_t siteCount, std::int32_t& randomSeed) {
  for (std::int64_t j = 1; j <= siteCount; ++j) {
    const std::int64_t k = DrawnSite(UniformRandom(randomSeed), siteCount);
    std::swap(siteGroups[j - 1], siteGroups[k - 1]);
  }
}

void ShuffleSiteGroupsWithinBlocks(std::int32_t* siteGroups, const SiteBlocks& blocks,
                                   std::int32_t& randomSeed) {
  for (const std::vector<std::int32_t>& sites : blocks) {
    const auto count = static_cast<std::int32_t>(sites.size());
    for (std::int64_t j = 1; j <= count; ++j) {
      const std::int64_t k = DrawnSite(UniformRandom(randomSeed), count);
      std::swap(siteGroups[sites[static_cast<std::size_t>(j - 1)]],
                siteGroups[sites[static_cast<std::size_t>(k - 1)]]);
    }
  }
}

void RecountGroupSizes(const std::int32_t* siteGroups, std::int32_t siteCount,
                       std::int32_t* groupSizes, std::int32_t groupCount) {
  for (std::int64_t k = 0; k < groupCount; ++k)
    groupSizes[k] = 0;
  for (std::int64_t j = 0; j < siteCount; ++j)
    ++groupSizes[siteGroups[j] - 1];
}

}  // namespace kova
