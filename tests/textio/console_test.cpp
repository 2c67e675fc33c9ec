// Console output written in blocks: what reaches the console, in which order, and how a
// failed write ends the run.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/console_capture.h"
#include "textio/console.h"
#include "textio/run_endings.h"

namespace kova {
namespace {

// One thing the buffered console asks of a test console or the test asks of it.
struct Action {
  enum Kind { Output, Error, Read, Poll, End } kind;
  std::string text;  // the text written; for End, the exit code
};

// Every call that reaches the console under the buffer, in order: "out:", "err:", "read",
// "poll", "end:<code>". With `failOutput`, every output write fails.
struct ConsoleLog {
  std::vector<std::string> events;
  bool failOutput = false;
};

ConsoleHooks LoggingConsole(ConsoleLog& log) {
  ConsoleHooks hooks;
  hooks.ReadLine = [&log](char* buffer, std::size_t) -> std::size_t {
    log.events.push_back("read");
    buffer[0] = '\r';
    buffer[1] = '\n';
    return 2;
  };
  hooks.WriteText = [&log](const char* text, std::size_t count, ConsoleStream stream) {
    if (stream == ConsoleStream::Output && log.failOutput) {
      log.events.push_back("failed:" + std::string(text, count));
      return std::size_t{0};
    }
    log.events.push_back((stream == ConsoleStream::Output ? "out:" : "err:") +
                         std::string(text, count));
    return count;
  };
  hooks.EndOfRun = [&log](int exitCode) {
    log.events.push_back("end:" + std::to_string(exitCode));
  };
  hooks.Poll = [&log] { log.events.push_back("poll"); };
  return hooks;
}

// Runs the actions on a buffered logging console; returns the counts each write returned.
std::vector<std::size_t> RunActions(const std::vector<Action>& actions, ConsoleLog& log,
                                    std::chrono::milliseconds longestWait,
                                    test_support::CapturedRun& run) {
  std::vector<std::size_t> returned;
  run = test_support::RunCaptured([&] {
    InstallConsoleHooks(BufferOutput(LoggingConsole(log), longestWait));
    for (const Action& action : actions) {
      char line[8];
      switch (action.kind) {
        case Action::Output:
        case Action::Error:
          returned.push_back(Console().WriteText(
              action.text.data(), action.text.size(),
              action.kind == Action::Output ? ConsoleStream::Output : ConsoleStream::Error));
          break;
        case Action::Read:
          Console().ReadLine(line, sizeof line);
          break;
        case Action::Poll:
          Console().Poll();
          break;
        case Action::End:
          EndRun(std::stoi(action.text));
      }
    }
  });
  return returned;
}

const std::string kBlock(kOutputBlockSize, 'x');

TEST(BufferedOutput, WritesOutBeforeReadsErrorsAndTheEndOfTheRun) {
  using namespace std::chrono_literals;
  struct Case {
    std::vector<Action> actions;
    std::chrono::milliseconds longestWait;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {{{Action::Output, "a"}, {Action::Output, "b"}, {Action::Read, ""}}, 1h, {"out:ab", "read"}},
      {{{Action::Output, "a"}, {Action::Error, "E"}, {Action::Output, "b"}, {Action::End, "0"}},
       1h,
       {"out:a", "err:E", "out:b", "end:0"}},
      {{{Action::Read, ""}, {Action::Error, "E"}, {Action::End, "1"}},  // nothing to write out
       1h,
       {"read", "err:E", "end:1"}},
      {{{Action::Output, "a"}, {Action::Poll, ""}, {Action::Output, "b"}}, 1h, {"poll"}},
      {{{Action::Output, "a"}, {Action::Poll, ""}, {Action::Output, "b"}, {Action::End, "0"}},
       0ms,
       {"out:a", "poll", "out:b", "end:0"}},
      {{{Action::Output, "a"}, {Action::Output, kBlock}, {Action::Output, "c"}, {Action::End, "0"}},
       1h,
       {"out:a" + kBlock, "out:c", "end:0"}},
  };
  for (const Case& c : cases) {
    ConsoleLog log;
    test_support::CapturedRun run;
    RunActions(c.actions, log, c.longestWait, run);
    EXPECT_EQ(log.events, c.events);
  }
}

// A failed write ends the run as the record's own write would have: at a record when a full
// block fails, otherwise with the report of a failed console WRITE before the read, the
// error-stream text or in Poll. At the end of the run it changes nothing.
TEST(BufferedOutput, AFailedWriteEndsTheRunWhereItIsFound) {
  using namespace std::chrono_literals;
  struct Case {
    std::vector<Action> actions;
    std::chrono::milliseconds longestWait;
    std::vector<std::string> events;
    bool ended;
    int exitCode;
  };
  // The report of a failed console WRITE, piece by piece.
  const std::vector<std::string> reported = {
      "failed:a",
      "err:? System Error:\n",
      "err:? The system cannot write to the specified device.\n",
      "err:? WRITE(UNIT=",
      "err:*,...\n",
      "end:-1"};
  const Case cases[] = {
      {{{Action::Output, "a"}, {Action::Read, ""}, {Action::Output, "b"}}, 1h, reported, true, -1},
      {{{Action::Output, "a"}, {Action::Error, " STOP"}, {Action::End, "0"}},
       1h,
       reported,
       true,
       -1},
      {{{Action::Output, "a"}, {Action::Poll, ""}}, 0ms, reported, true, -1},
      {{{Action::Output, "a"}, {Action::End, "0"}}, 1h, {"failed:a", "end:0"}, true, 0},
  };
  for (const Case& c : cases) {
    ConsoleLog log;
    log.failOutput = true;
    test_support::CapturedRun run;
    RunActions(c.actions, log, c.longestWait, run);
    EXPECT_EQ(log.events, c.events);
    EXPECT_EQ(run.ended, c.ended);
    EXPECT_EQ(run.exitCode, c.exitCode);
  }

  // A full block that cannot be written fails the write that filled it.
  ConsoleLog log;
  log.failOutput = true;
  test_support::CapturedRun run;
  const std::vector<std::size_t> returned =
      RunActions({{Action::Output, "a"}, {Action::Output, kBlock}}, log, 1h, run);
  EXPECT_EQ(returned, (std::vector<std::size_t>{1, 0}));
  EXPECT_EQ(log.events, (std::vector<std::string>{"failed:a" + kBlock}));
}

TEST(ConsoleHooks, OperationsAHostLeavesUnsetKeepTheirDefaults) {
  const ConsoleHooks saved = Console();
  std::string written;
  ConsoleHooks partial;
  partial.WriteText = [&](const char* text, std::size_t count, ConsoleStream) {
    written.append(text, count);
    return count;
  };
  InstallConsoleHooks(partial);
  ASSERT_TRUE(Console().Poll && Console().EndOfRun && Console().ReadLine);
  Console().Poll();  // a default that does nothing, not an empty function that throws
  Console().EndOfRun(0);
  WriteErrorText("shown");
  EXPECT_EQ(written, "shown");
  InstallConsoleHooks(saved);
}

}  // namespace
}  // namespace kova
