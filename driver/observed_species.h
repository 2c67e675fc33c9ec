// Each species' strongest value on the observed grouping, for the per-species results: the
// five tables of that grouping computed as the steps compute them, each species' maximum
// found by the summary's rule together with its group; then, at that group, the value and
// APCF's two factors computed once more from the data in double precision, free of the
// tables' rounding, for the report.
#pragma once

#include <cstdint>

#include "driver/analysis_data.h"
#include "driver/run_outcome.h"
#include "driver/step_computation.h"

namespace kova {

// Fills the indicators' groups, maxima and values, the APCF factors and the absent species of
// `species` for the grouping `siteGroups` (the observed one); the counts are left as they are. A failure to obtain the
// tables' storage ends the run with the allocation report.
void FindObservedIndicators(const AnalysisData& data, const StepConstants& constants,
                            const std::int32_t* siteGroups, SpeciesOutcome& species);

// A row's maximum by the summary's rule (the entry of largest magnitude, strictly larger
// than any before it and than 0.0; 0.0 when there is none) and its group: that entry's, or
// without one the first entry of magnitude 0.0, or 0 when every entry is NaN. `row` holds
// `groupCount` entries `stride` apart.
SpeciesIndicator StrongestEntry(const float* row, std::int64_t groupCount, std::int64_t stride);

}  // namespace kova
