#include "textio/process_end.h"

#include <cstdlib>

#include "textio/console_hooks.h"

namespace kova {
namespace {

[[noreturn]] void ExitProcess(int exitCode) {
  std::exit(exitCode);
}

ProcessExitFunction processExit = &ExitProcess;

}  // namespace

void EndRun(int exitCode) {
  Console().EndOfRun(exitCode);
  processExit(exitCode);
  std::abort();  // an installed exit function must not come back
}

ProcessExitFunction SetProcessExit(ProcessExitFunction exit) {
  const ProcessExitFunction previous = processExit;
  processExit = exit != nullptr ? exit : &ExitProcess;
  return previous;
}

}  // namespace kova
