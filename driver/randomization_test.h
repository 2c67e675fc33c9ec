#pragma once

#include "inputs/analysis_data.h"
#include "randomization/analysis_settings.h"
#include "randomization/combinations.h"
#include "randomization/run_outcome.h"

namespace kova {

// Whether the console shows every step's records, as "RESULTS.TXT" does, or leaves them out
// and shows only what follows the steps.
enum class ConsoleSteps { Shown, LeftOut };

// The second half of the analysis: step 1 on the observed grouping, every later step on a
// fresh shuffle of the previous one; the five index tables and their summaries per step,
// written to "RESULTS.TXT" and (unless left out) the console; then the results file is closed
// and, after two or more steps, the final table of observed sum, mean and z-score goes to the
// console. `observer` hears of every step and, at the end, of what the run produced, with the
// `associations` asked for when it keeps species. `settings` choose how the steps are
// computed, never what they give.
void RunRandomizationTest(AnalysisData& data, const AnalysisSettings& settings,
                          const RunObserver& observer,
                          ConsoleSteps consoleSteps = ConsoleSteps::Shown,
                          const AssociationRequest& associations = {});

}  // namespace kova
