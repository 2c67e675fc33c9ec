#include "textio/stop_run.h"

#include "textio/close_unit.h"
#include "textio/console_hooks.h"
#include "textio/process_end.h"
#include "textio/run_time_error.h"

namespace kova {
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

}  // namespace kova
