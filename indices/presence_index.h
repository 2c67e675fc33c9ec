// IndexTypes 4 ("PCF ") and 5 ("PSF "): indicator values from presence and absence alone.
#pragma once

#include <cstdint>

#include "indices/kernel_cores.h"

namespace kova {

// Writes the value of IndexType 4 or 5 of species i for group j to IndexTable(i, j); with any
// other IndexType the table is left holding the occupied-site counts per group. The tables
// are the caller's, passed as their first elements and stored column by column with the
// species fastest. Every SiteGroups entry must lie in 1..GroupCount and GroupSizes must hold
// the counts of those entries; neither is checked.
// Returns false, with the table untouched, when the work storage cannot be obtained: the
// caller reports it. `build` chooses the instruction-set build.
[[nodiscard]] bool PresenceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                                 const std::int32_t& groupCount, const std::int32_t& siteGroups,
                                 const std::int32_t& groupSizes, const float& presenceMatrix,
                                 float& indexTable, const std::int32_t& indexType,
                                 KernelBuild build = KernelBuild::Fastest);

}  // namespace kova
