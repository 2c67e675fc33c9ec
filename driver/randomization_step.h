// One randomization step: the grouping of the step, the five index tables and their
// summaries.
#pragma once

#include <cstdint>
#include <functional>

#include "driver/analysis_data.h"
#include "driver/step_summary.h"

namespace kova {

// Called once per IndexType, 1 to 5 in order, while IndexTable still holds that type's table.
using IndexTypeDone = std::function<void(std::int32_t indexType, const StepSummary& summary)>;

// Step 1 uses the observed grouping; every later step first shuffles the grouping the step
// before it left. `speciesMaximum` is work storage of SpeciesCount floats.
void RunRandomizationStep(AnalysisData& data, std::int32_t step, float* speciesMaximum,
                          const IndexTypeDone& indexTypeDone);

}  // namespace kova
