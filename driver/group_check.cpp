#include "driver/group_check.h"

#include <string>

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

}  // namespace kova
