// A program that ends through the stop or the run-time error report, for the tests that
// check what the shell sees.
#include <string>

#include "textio/failure_codes.h"
#include "textio/free_format_writer.h"
#include "textio/open_unit.h"
#include "textio/run_time_error.h"
#include "textio/stop_run.h"
#include "textio/unit_numbers.h"

int main(int argumentCount, char** arguments) {
  using namespace kova;
  const std::string route = argumentCount > 1 ? arguments[1] : "";
  if (route == "stop") {
    WriteFreeFormat(kDefaultUnit, {"written"});
    StopRun(" ");
  }
  OpenUnit(2, "RESULTS.TXT", OpenStatus::Unknown);
  WriteFreeFormat(2, {"kept"});
  ReportRunTimeError(failure::kReadPastEndOfFile, {Statement::Read, 1});
}
