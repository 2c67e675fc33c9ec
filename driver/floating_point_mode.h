// The floating-point mode every result depends on: round to nearest, every exception masked,
// and subnormal numbers kept as they are (no flush-to-zero, no denormals-are-zero). A shared
// library loaded into the process may have changed any of these, so the analysis sets them
// itself when it starts.
#pragma once

namespace kova {

// Sets the mode and reads it back; false when the processor did not take it.
bool SetAnalysisFloatingPointMode();

}  // namespace kova
