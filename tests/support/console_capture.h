// Runs code that ends the run (the stop, the error report) inside a test: the console is
// replaced by scripted input and captured output, and the process exit by an exception
// that carries the exit code back to the test.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "textio/console.h"

namespace kova::test_support {

struct RunEnded {
  int exitCode;
};

struct ConsoleCall {
  ConsoleStream stream;
  std::string text;
};

struct CapturedRun {
  bool ended = false;  // the code ended the run instead of returning
  int exitCode = 0;
  std::string output;              // everything written to the output stream
  std::string error;               // everything written to the error stream
  std::vector<ConsoleCall> calls;  // every WriteText call, in order
  int endOfRunCalls = 0;
  int endOfRunCode = 0;  // the code EndOfRun was last called with
  int polls = 0;
  int linesRead = 0;
};

// Runs `code` with `input` as the console's lines (each ending in a line feed) and captures
// the console and the way the run ended. All file units are closed afterwards.
CapturedRun RunCaptured(const std::function<void()>& code, const std::string& input = "");

}  // namespace kova::test_support
