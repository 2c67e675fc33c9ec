// How a run computes its steps: the choices that change its speed and never its output. The
// programs read them from their environment once, at start, and pass them to the analysis.
#pragma once

#include <cstddef>

#include "indices/kernel_cores.h"

namespace kova {

struct AnalysisSettings {
  // Threads that compute steps; 0 lets the size of the table decide (StepThreadCount).
  int threads = 0;
  KernelBuild kernelBuild = KernelBuild::Fastest;
  // Groupings computed in the same passes: 1, 2 or 4; 0 lets the number of groups and the
  // species decide (GroupingsPerPass).
  std::size_t groupingsPerPass = 0;
};

}  // namespace kova
