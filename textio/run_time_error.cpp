#include "textio/run_time_error.h"

#include <string>
#include <string_view>

#include "textio/close_unit.h"
#include "textio/console_hooks.h"
#include "textio/failure_codes.h"
#include "textio/operating_system_errors.h"
#include "textio/process_end.h"
#include "textio/run_time_messages.h"
#include "textio/unit_numbers.h"

namespace kova {
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
