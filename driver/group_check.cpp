#include "driver/group_check.h"

#include <string>

#include "textio/free_format_writer.h"
#include "textio/unit_numbers.h"

namespace kova {

bool GroupNumbersInRange(const AnalysisData& data) {
  const std::int64_t sites = ArrayEntries(data.siteCount);
  for (std::int64_t site = 1; site <= sites; ++site) {
    const std::int32_t group = data.siteGroups(site);
    if (group >= 1 && group <= data.groupCount) continue;
    const std::string allowed =
        data.groupCount >= 1 ? "MUST LIE BETWEEN 1 AND " + std::to_string(data.groupCount)
                             : "IS ALLOWED: THE DATA FILE GIVES " +
                                   std::to_string(data.groupCount) + " GROUPS";
    const std::string message = "GROUP NUMBER " + std::to_string(group) + " OF SITE " +
                                std::to_string(site) + " IS OUT OF RANGE: " +
                                (data.groupCount >= 1 ? "GROUP NUMBERS " : "NO GROUP NUMBER ") +
                                allowed;
    WriteFreeFormat(kDefaultUnit, {message});
    return false;
  }
  return true;
}

}  // namespace kova
