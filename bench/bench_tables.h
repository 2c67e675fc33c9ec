// The tables the step benchmarks run on: a bundled example, or a generated table of any size.
#pragma once

#include <cstdint>
#include <string>

#include "inputs/analysis_data.h"

namespace kova::bench {

// An example of `examples/`, read as the dialogue reads it, with its presences derived.
void LoadExample(AnalysisData& data, const std::string& example);

// Small counts at a share `occupied` (in percent) of the entries, zeros elsewhere; the groups
// dealt out to the sites in turn. The same sizes always give the same table.
void GenerateTable(AnalysisData& data, std::int32_t species, std::int32_t sites,
                   std::int32_t groups, int occupied);

}  // namespace kova::bench
