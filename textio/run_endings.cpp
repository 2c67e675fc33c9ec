#include "textio/run_endings.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "textio/console.h"
#include "textio/failures.h"
#include "textio/units.h"

namespace kova {

// ---- The end of the process -------------------------------------------------------------

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

// ---- The stop ---------------------------------------------------------------------------

namespace {}  // namespace

void StopRun(std::string_view codeText, int exitCode) {
  if (codeText.empty()) {
    WriteErrorText(" STOP");
  } else {
    WriteErrorText(" STOP ");
    WriteErrorText(codeText);
  }
  WriteErrorText("\n");

  // A file that cannot be written out must not end as a success.
  const UnitFailure failure = CloseAllUnits();
  if (failure.code != 0) ReportRunTimeError(failure.code, {Statement::Close, failure.unit});
  EndRun(exitCode);
}

// ---- The run-time error report ----------------------------------------------------------

namespace {

std::string_view KeywordText(Statement keyword) {
  switch (keyword) {
    case Statement::Open:
      return "OPEN";
    case Statement::Close:
      return "CLOSE";
    case Statement::Read:
      return "READ";
    case Statement::Write:
      return "WRITE";
    case Statement::None:
      break;
  }
  return "";
}

}  // namespace

void ReportRunTimeError(int code, IoStatement statement) {
  CloseAllUnits();

  const bool runTime = failure::IsRunTimeCode(code);
  WriteErrorText(runTime ? "? FORTRAN Runtime Error:\n" : "? System Error:\n");
  const std::string message =
      runTime ? std::string(RunTimeMessage(code)) : SystemErrorMessage(code);
  WriteErrorText("? " + message + "\n");

  if (statement.keyword != Statement::None) {
    WriteErrorText("? " + std::string(KeywordText(statement.keyword)) + "(UNIT=");
    const std::string unit =
        statement.unit == kDefaultUnit ? std::string("*") : std::to_string(statement.unit);
    WriteErrorText(unit + ",...\n");
  }
  EndRun(-1);
}

}  // namespace kova
