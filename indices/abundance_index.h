// IndexTypes 2 ("ACF ") and 3 ("ASF "): a specificity term computed from the species' group
// means times the evenness of its abundance among the group's sites.
#pragma once

#include <cstdint>

#include "indices/kernel_cores.h"

namespace kova {

// Writes the value of IndexType 2 or 3 of species i for group j to IndexTable(i, j); with any
// other IndexType the table is left holding the group totals of the abundances. The tables
// are the caller's, passed as their first elements and stored column by column with the
// species fastest. Every SiteGroups entry must lie in 1..GroupCount and GroupSizes must hold
// the counts of those entries; neither is checked.
// Returns false, with the table untouched, when the work storage cannot be obtained: the
// caller reports it. `build` chooses the instruction-set build.
[[nodiscard]] bool AbundanceIndex(const std::int32_t& speciesCount, const std::int32_t& siteCount,
                                  const std::int32_t& groupCount, const std::int32_t& siteGroups,
                                  const std::int32_t& groupSizes, const float& abundanceMatrix,
                                  float& indexTable, const std::int32_t& indexType,
                                  KernelBuild build = KernelBuild::Fastest);

}  // namespace kova
