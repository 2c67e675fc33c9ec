// What kova runs in its window once the frame is shown: the options read as kova-cli reads
// them, then the dialogue (with File > "Open File Name...") or the run they ask for, with
// the "Results" menu heard of once the run is complete and the files the options ask for
// written as kova-cli writes them.
#pragma once

#include "randomization/analysis_settings.h"

namespace kova::window {

// The program's arguments, its name first, and the settings it read at its start. Never
// returns: the run ends the process.
[[noreturn]] void RunInWindow(const AnalysisSettings& settings, int argumentCount,
                              char** arguments);

}  // namespace kova::window
