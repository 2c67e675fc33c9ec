// The picture both programs draw of a run: the randomization distributions of its five
// variants, from the outcome the analysis hands its observer.
#pragma once

#include "plots/picture.h"
#include "randomization/run_outcome.h"

namespace kova {

// Needs the outcome's step sums.
plots::Picture RunPicture(const RunOutcome& outcome);

}  // namespace kova
