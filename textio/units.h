// Units: the numbers with a fixed meaning, OPEN and CLOSE, the table of connected file units,
// and the writing of one record to a unit.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "textio/file_unit.h"
#include "textio/records.h"
#include "textio/run_endings.h"

namespace kova {

// ---- Unit numbers -----------------------------------------------------------------------

// The default unit, written * in reports: console input for READ, console output for WRITE.
constexpr int kDefaultUnit = -1;
constexpr int kConsoleErrorUnit = 0;
constexpr int kConsoleInputUnit = 5;
constexpr int kConsoleOutputUnit = 6;

constexpr bool IsConsoleUnit(int unit) {
  return unit == kDefaultUnit || unit == kConsoleErrorUnit || unit == kConsoleInputUnit ||
         unit == kConsoleOutputUnit;
}

// ---- OPEN -------------------------------------------------------------------------------

enum class OpenStatus {
  Old,      // the file must exist
  Unknown,  // an existing file is used as it is, a missing one is created
};

// Connects `unit` to the named file (leading and trailing blanks of the name are ignored)
// and positions it at its start. With a status value the outcome is stored there (0 on
// success, else the failure code) and the call returns; without one a failure is reported
// and ends the run. A file of 4 GiB or more is refused with code 5.
void OpenUnit(int unit, std::string_view fileName, OpenStatus status,
              std::int32_t* statusValue = nullptr);

// ---- CLOSE ------------------------------------------------------------------------------

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

// ---- The unit table ---------------------------------------------------------------------
// The connected units, searched by number. The console units are always there; file units
// come and go with OPEN and CLOSE.

FileUnit* FindFileUnit(int unit);
void AddFileUnit(std::unique_ptr<FileUnit> unit);
std::unique_ptr<FileUnit> RemoveFileUnit(int unit);

// The records a READ statement on `unit` takes: the console's for the default unit and
// unit 5, the file's for a connected file unit. Any other unit is reported and ends the run.
RecordReader& InputRecords(int unit, const IoStatement& statement);

// ---- Writing a record -------------------------------------------------------------------

// Ends `record` with CR LF and writes it to the unit: console records go to WriteText at
// once (in pieces of 256 bytes when longer), file records into the unit's block. Failures
// are reported against `statement` and end the run.
void WriteRecord(int unit, std::string_view record, const IoStatement& statement);

}  // namespace kova
