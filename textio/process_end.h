// The last step of every route that ends a run: EndOfRun, then the process exit.
#pragma once

namespace kova {

using ProcessExitFunction = void (*)(int exitCode);

// Calls the console's EndOfRun, then ends the process with the given code. Tests replace
// the process exit so that the ending routes can be followed in-process.
[[noreturn]] void EndRun(int exitCode);

// Installs the function that ends the process (std::exit unless replaced); returns the one
// it replaces. The function must not return.
ProcessExitFunction SetProcessExit(ProcessExitFunction exit);

}  // namespace kova
