// The two ways the text layer ends a run: the stop and the run-time error report, with
// their exact console calls and exit codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/console_capture.h"
#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"
#include "textio/failures.h"
#include "textio/run_endings.h"
#include "textio/units.h"

namespace kova {
namespace {

using test_support::RunCaptured;

std::vector<std::string> ErrorCalls(const test_support::CapturedRun& run) {
  std::vector<std::string> calls;
  for (const auto& call : run.calls) {
    EXPECT_EQ(call.stream, ConsoleStream::Error);
    calls.push_back(call.text);
  }
  return calls;
}

TEST(StopRun, WritesThreePiecesAndEndsWithCodeZero) {
  const auto run = RunCaptured([] { StopRun(" "); });
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(ErrorCalls(run), (std::vector<std::string>{" STOP ", " ", "\n"}));
  EXPECT_EQ(run.endOfRunCalls, 1);
  EXPECT_EQ(run.endOfRunCode, 0);
}

TEST(StopRun, WithoutCodeTextWritesTwoPieces) {
  const auto run = RunCaptured([] { StopRun(""); });
  EXPECT_EQ(ErrorCalls(run), (std::vector<std::string>{" STOP", "\n"}));
}

TEST(StopRun, CanEndWithAnotherExitCode) {
  const auto run = RunCaptured([] { StopRun(" ", 1); });
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.endOfRunCode, 1);
  EXPECT_EQ(run.error, " STOP  \n");
}

struct ReportCase {
  int code;
  IoStatement statement;
  std::vector<std::string> calls;
};

TEST(ReportRunTimeError, WritesTheThreeLineReport) {
  const ReportCase cases[] = {
      {failure::kReadPastEndOfFile,
       {Statement::Read, 1},
       {"? FORTRAN Runtime Error:\n", "? Attempt to read past end of file\n",
        "? READ(UNIT=", "1,...\n"}},
      {failure::kIllegalNumericCharacter,
       {Statement::Read, kDefaultUnit},
       {"? FORTRAN Runtime Error:\n", "? Illegal character in numeric input\n",
        "? READ(UNIT=", "*,...\n"}},
      {2,
       {Statement::Open, 2},
       {"? System Error:\n", "? The system cannot find the file specified.\n",
        "? OPEN(UNIT=", "2,...\n"}},
      {112,
       {Statement::Write, 2},
       {"? System Error:\n", "? There is not enough space on the disk.\n",
        "? WRITE(UNIT=", "2,...\n"}},
      {39,
       {Statement::Close, 2},
       {"? System Error:\n", "? The disk is full.\n", "? CLOSE(UNIT=", "2,...\n"}},
      {failure::kBufferAllocationFailed,
       {},
       {"? FORTRAN Runtime Error:\n", "? Buffer allocation failed\n"}},
      {9999, {}, {"? System Error:\n", "? Unknown system error 9999.\n"}},
  };
  for (const ReportCase& c : cases) {
    const auto run = RunCaptured([&] { ReportRunTimeError(c.code, c.statement); });
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_EQ(run.endOfRunCalls, 1);
    EXPECT_EQ(run.endOfRunCode, -1);
    EXPECT_EQ(ErrorCalls(run), c.calls) << "code " << c.code;
  }
}

TEST(RunTimeMessages, EveryCodeHasItsOwnText) {
  EXPECT_EQ(RunTimeMessage(10004), "Buffer allocation failed");
  EXPECT_EQ(RunTimeMessage(10013), "Attempt to read past end of file");
  EXPECT_EQ(RunTimeMessage(10014), "Bad file specification");
  EXPECT_EQ(RunTimeMessage(10016), "Illegal character in numeric input");
  std::vector<std::string_view> texts;
  for (int code = failure::kFirstRunTimeCode; code <= failure::kLastRunTimeCode; ++code) {
    EXPECT_FALSE(RunTimeMessage(code).empty());
    texts.push_back(RunTimeMessage(code));
  }
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(std::adjacent_find(texts.begin(), texts.end()), texts.end());
  EXPECT_EQ(texts.size(), 71U);
}

// A real process: the stop exits with 0, the report with -1, which the shell sees as 255.
TEST(RunEndingProcess, ExitCodesReachTheShell) {
  const std::string program = std::string(KOVA_ENDING_PROGRAM);
  test_support::ScratchFolder folder;

  const auto stop = test_support::RunProcess(program, {"stop"}, "", folder.Path().string());
  EXPECT_EQ(stop.exitCode, 0);
  EXPECT_EQ(stop.error, " STOP  \n");
  EXPECT_EQ(stop.output, " written\r\n");

  const auto failure = test_support::RunProcess(program, {"error"}, "", folder.Path().string());
  EXPECT_EQ(failure.exitCode, 255);
  EXPECT_EQ(failure.error,
            "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=1,...\n");
  EXPECT_EQ(test_support::ReadWholeFile(folder.File("RESULTS.TXT")), " kept\r\n");
}

}  // namespace
}  // namespace kova
