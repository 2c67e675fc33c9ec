#pragma once

#include "driver/analysis_data.h"

namespace kova {

// Every site's group number must lie between 1 and GroupCount, since the sites are counted
// per group by it. On the first that does not, writes a message naming the site, the number
// and the allowed range to the console and returns false.
bool GroupNumbersInRange(const AnalysisData& data);

}  // namespace kova
