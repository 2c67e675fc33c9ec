#include "inputs/group_check.h"

#include <algorithm>
#include <string>
#include <vector>

#include "textio/output_editing.h"
#include "textio/units.h"

namespace kova {
namespace {

std::string OutOfRangeMessage(std::int64_t site, std::int32_t group, std::int32_t groupCount) {
  const std::string message = "GROUP NUMBER " + std::to_string(group) + " OF SITE " +
                              std::to_string(site) + " IS OUT OF RANGE: ";
  if (groupCount >= 1) {
    return message + "GROUP NUMBERS MUST LIE BETWEEN 1 AND " + std::to_string(groupCount);
  }
  return message + "NO GROUP NUMBER IS ALLOWED: THE DATA FILE GIVES " + std::to_string(groupCount) +
         " GROUPS";
}

}  // namespace

bool GroupNumbersInRange(const AnalysisData& data) {
  const std::int64_t sites = ArrayEntries(data.siteCount);
  for (std::int64_t site = 1; site <= sites; ++site) {
    const std::int32_t group = data.siteGroups(site);
    if (group >= 1 && group <= data.groupCount) continue;
    WriteFreeFormat(kDefaultUnit, {OutOfRangeMessage(site, group, data.groupCount)});
    return false;
  }
  return true;
}

std::optional<InputFault> GroupWithoutSitesFault(const std::vector<std::int32_t>& siteGroups,
                                                 std::int32_t groupCount,
                                                 const std::string& groupsFile,
                                                 const std::string& groupCountSource) {
  // n sites fill at most n groups, so the first empty group is among the first n + 1.
  const std::size_t groups = std::min<std::size_t>(groupCount, siteGroups.size() + 1);
  std::vector<bool> held(groups, false);
  for (const std::int32_t group : siteGroups) {
    if (group >= 1 && static_cast<std::size_t>(group) <= groups) {
      held[static_cast<std::size_t>(group) - 1] = true;
    }
  }
  for (std::size_t group = 0; group < groups; ++group) {
    if (held[group]) continue;
    return InputFault{groupsFile, "no site in group " + std::to_string(group + 1),
                      "a site in every group from 1 to " + std::to_string(groupCount) + " (" +
                          groupCountSource + ")"};
  }
  return std::nullopt;
}

}  // namespace kova
