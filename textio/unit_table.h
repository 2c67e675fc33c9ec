// The connected units, searched by number. The console units are always there; file units
// come and go with OPEN and CLOSE.
#pragma once

#include <memory>
#include <vector>

#include "textio/file_unit.h"
#include "textio/record_reader.h"
#include "textio/run_time_error.h"

namespace kova {

FileUnit* FindFileUnit(int unit);
void AddFileUnit(std::unique_ptr<FileUnit> unit);
std::unique_ptr<FileUnit> RemoveFileUnit(int unit);
std::vector<int> ConnectedFileUnits();

// The records a READ statement on `unit` takes: the console's for the default unit and
// unit 5, the file's for a connected file unit. Any other unit is reported and ends the run.
RecordReader& InputRecords(int unit, const IoStatement& statement);

// Forgets console input read ahead of the current line (a fresh console).
void ResetConsoleInput();

}  // namespace kova
