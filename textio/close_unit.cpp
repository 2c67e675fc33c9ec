#include "textio/close_unit.h"

#include "textio/console_hooks.h"
#include "textio/run_time_error.h"
#include "textio/unit_table.h"

namespace kova {

int DisconnectFileUnit(int unit) {
  std::unique_ptr<FileUnit> file = RemoveFileUnit(unit);
  return file ? file->Close() : 0;
}

void CloseUnit(int unit) {
  Console().Poll();
  if (const int code = DisconnectFileUnit(unit); code != 0) {
    ReportRunTimeError(code, {Statement::Close, unit});
  }
}

UnitFailure CloseAllUnits() {
  UnitFailure first;
  for (const int unit : ConnectedFileUnits()) {
    const int code = DisconnectFileUnit(unit);
    if (code != 0 && first.code == 0) first = {code, unit};
  }
  return first;
}

}  // namespace kova
