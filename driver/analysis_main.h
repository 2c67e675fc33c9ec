#pragma once

namespace kova {

// The analysis from the first question to the stop. It never returns: it ends through the
// stop (exit code 0, or 1 when an input file is missing or a group number is out of range)
// or through the run-time error report (exit code -1).
[[noreturn]] void RunAnalysis();

}  // namespace kova
