// How a fuzz target survives the end of a run: the text layer's process exit throws RunEnded
// instead, which the target catches around each input.
#pragma once

#include "textio/run_endings.h"

namespace kova::fuzz {

struct RunEnded {};

[[noreturn]] inline void ThrowRunEnded(int) {
  throw RunEnded{};
}

// Routes the process exit to ThrowRunEnded; call once, before the first input.
inline void EndRunsByThrowing() {
  SetProcessExit(&ThrowRunEnded);
}

}  // namespace kova::fuzz
