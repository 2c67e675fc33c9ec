// IndexType 1 ("APCF"): for every species and group, the share of the species' summed group
// means that falls on the group times the fraction of the group's sites where it is present.
#pragma once

#include <cstdint>

#include "indices/kernel_cores.h"

namespace kova {

// Writes the type-1 value of species i for group j to IndexTable(i, j) for every species and
// group. The tables are the caller's, passed as their first elements and stored column by
// column with the species fastest. Every SiteGroups entry must lie in 1..GroupCount and
// GroupSizes must hold the counts of those entries; neither is checked.
// Returns false, with the table untouched, when the work storage cannot be obtained: the
// caller reports it. `build` chooses the instruction-set build.
[[nodiscard]] bool AbundancePresenceIndex(
    const std::int32_t& speciesCount, const std::int32_t& siteCount, const std::int32_t& groupCount,
    const float& abundanceMatrix, const std::int32_t& siteGroups, const std::int32_t& groupSizes,
    const float& presenceMatrix, float& indexTable, KernelBuild build = KernelBuild::Fastest);

}  // namespace kova
