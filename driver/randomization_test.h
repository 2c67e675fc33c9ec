#pragma once

#include "driver/analysis_data.h"

namespace kova {

// The second half of the analysis: step 1 on the observed grouping, every later step on a
// fresh shuffle of the previous one; the five index tables and their summaries per step,
// written to "RESULTS.TXT" and the console; then the results file is closed and, after two
// or more steps, the final table of observed sum, mean and z-score goes to the console.
void RunRandomizationTest(AnalysisData& data);

}  // namespace kova
