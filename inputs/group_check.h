#pragma once

#include <optional>
#include <string>
#include <vector>

#include "inputs/analysis_data.h"
#include "inputs/input_fault.h"

namespace kova {

// Every site's group number must lie between 1 and GroupCount, since the sites are counted
// per group by it. On the first that does not, writes a message naming the site, the number
// and the allowed range to the console and returns false.
bool GroupNumbersInRange(const AnalysisData& data);

// Every group from 1 to `groupCount` must hold a site: an empty group's sums are 0 and its
// z-scores NaN. The first group without a site is a fault of the groups file;
// `groupCountSource` says where the group count comes from. The group numbers must lie
// between 1 and `groupCount`.
std::optional<InputFault> GroupWithoutSitesFault(const std::vector<std::int32_t>& siteGroups,
                                                 std::int32_t groupCount,
                                                 const std::string& groupsFile,
                                                 const std::string& groupCountSource);

}  // namespace kova
