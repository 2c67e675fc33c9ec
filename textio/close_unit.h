#pragma once

namespace kova {

// Writes out the unit's unwritten data and closes its file; a unit that is not connected is
// left alone. A failure is reported and ends the run.
void CloseUnit(int unit);

struct UnitFailure {
  int code = 0;  // 0 when every unit closed cleanly
  int unit = 0;
};

// Writes out and closes every file unit, at the end of a run. Every unit is closed even
// when one fails; the first failure is returned.
UnitFailure CloseAllUnits();

// Closes one file unit without reporting; returns 0 or the failure code.
int DisconnectFileUnit(int unit);

}  // namespace kova
