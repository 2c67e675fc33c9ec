#pragma once

#include <cstdint>
#include <vector>

namespace kova {

// Rearranges the group numbers of the sites in place: each site j in turn, from the first,
// exchanges its group number with that of a site drawn with UniformRandom. Makes exactly
// SiteCount draws.
void ShuffleSiteGroups(std::int32_t* siteGroups, std::int32_t siteCount, std::int32_t& randomSeed);

// The sites of each block (from 0, in site order), the blocks in the order of their numbers:
// a run's randomizations restricted to blocks shuffle the groups within each block only.
using SiteBlocks = std::vector<std::vector<std::int32_t>>;

// The shuffle of ShuffleSiteGroups applied to each block's sites in turn, as if they were the
// whole table: each site of the block in order exchanges its group number with that of a site
// of the same block drawn with UniformRandom. Makes exactly one draw per site, so a block
// keeps its sites' groups and every group its number of sites in every block.
void ShuffleSiteGroupsWithinBlocks(std::int32_t* siteGroups, const SiteBlocks& blocks,
                                   std::int32_t& randomSeed);

// The site a draw u picks: u x SiteCount + 1 in double precision, truncated toward zero and
// kept within the sites (u can be exactly 1.0).
std::int64_t DrawnSite(float u, std::int32_t siteCount);

// Sets GroupSizes(k) to the number of sites whose group number is k.
void RecountGroupSizes(const std::int32_t* siteGroups, std::int32_t siteCount,
                       std::int32_t* groupSizes, std::int32_t groupCount);

}  // namespace kova
