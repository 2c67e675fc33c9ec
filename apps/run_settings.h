// The settings of a run that come from the environment, read once when a program starts:
//   KOVA_THREADS=n                   the threads that compute steps (a whole number from 1 up)
//   KOVA_KERNELS=baseline            the kernels without AVX2
//   KOVA_GROUPINGS_PER_PASS=1|2|4    the groupings each pass over the table serves
// Anything else, or nothing, leaves the choice to the analysis. None of them changes the output.
#pragma once

#include <functional>

#include "randomization/analysis_settings.h"

namespace kova {

// The value of one environment variable, or null when it is not set.
using EnvironmentVariable = std::function<const char*(const char* name)>;

AnalysisSettings RunSettingsFrom(const EnvironmentVariable& variable);

// RunSettingsFrom the process's environment.
AnalysisSettings ReadRunSettings();

}  // namespace kova
