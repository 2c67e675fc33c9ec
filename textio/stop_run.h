#pragma once

#include <string_view>

namespace kova {

// The STOP statement: " STOP ", the code text and a line feed on the error stream, every
// file unit written out and closed, then the end of the run with the given exit code.
[[noreturn]] void StopRun(std::string_view codeText, int exitCode = 0);

}  // namespace kova
