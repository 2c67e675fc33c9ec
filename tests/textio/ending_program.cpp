// A program that ends through the stop or the run-time error report, for the tests that
// check what the shell sees.
#include <string>

#include "textio/failures.h"
#include "textio/output_editing.h"
#include "textio/run_endings.h"
#include "textio/units.h"

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
