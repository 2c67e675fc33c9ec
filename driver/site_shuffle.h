#pragma once

#include <cstdint>

namespace kova {

// Rearranges the group numbers of the sites in place: each site j in turn, from the first,
// exchanges its group number with that of a site drawn with UniformRandom. Makes exactly
// SiteCount draws.
void ShuffleSiteGroups(std::int32_t* siteGroups, std::int32_t siteCount, std::int32_t& randomSeed);

// The site a draw u picks: u x SiteCount + 1 in double precision, truncated toward zero and
// kept within the sites (u can be exactly 1.0).
std::int64_t DrawnSite(float u, std::int32_t siteCount);

// Sets GroupSizes(k) to the number of sites whose group number is k.
void RecountGroupSizes(const std::int32_t* siteGroups, std::int32_t siteCount,
                       std::int32_t* groupSizes, std::int32_t groupCount);

}  // namespace kova
