#include "tests/support/console_capture.h"

#include <cstring>

#include "textio/run_endings.h"
#include "textio/units.h"

namespace kova::test_support {
namespace {

[[noreturn]] void ThrowRunEnded(int exitCode) {
  throw RunEnded{exitCode};
}

}  // namespace

CapturedRun RunCaptured(const std::function<void()>& code, const std::string& input) {
  CapturedRun run;
  std::size_t inputPosition = 0;

  ConsoleHooks hooks;
  hooks.ReadLine = [&](char* buffer, std::size_t capacity) -> std::size_t {
    if (inputPosition >= input.size()) return 0;
    std::size_t end = input.find('\n', inputPosition);
    if (end == std::string::npos) end = input.size();
    std::size_t length = end - inputPosition;
    if (length > capacity - 2) length = capacity - 2;
    std::memcpy(buffer, input.data() + inputPosition, length);
    buffer[length] = '\r';
    buffer[length + 1] = '\n';
    inputPosition = end + 1;
    ++run.linesRead;
    return length + 2;
  };
  hooks.WriteText = [&](const char* text, std::size_t count, ConsoleStream stream) {
    run.calls.push_back({stream, std::string(text, count)});
    (stream == ConsoleStream::Error ? run.error : run.output).append(text, count);
    return count;
  };
  hooks.EndOfRun = [&](int exitCode) {
    ++run.endOfRunCalls;
    run.endOfRunCode = exitCode;
  };
  hooks.Poll = [&] { ++run.polls; };

  const ConsoleHooks saved = Console();
  InstallConsoleHooks(hooks);
  ResetConsoleInput();
  const ProcessExitFunction savedExit = SetProcessExit(&ThrowRunEnded);
  try {
    code();
  } catch (const RunEnded& ended) {
    run.ended = true;
    run.exitCode = ended.exitCode;
  }
  SetProcessExit(savedExit);
  CloseAllUnits();
  ResetConsoleInput();
  InstallConsoleHooks(saved);
  return run;
}

}  // namespace kova::test_support
