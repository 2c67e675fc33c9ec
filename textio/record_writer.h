#pragma once

#include <string_view>

#include "textio/run_time_error.h"

namespace kova {

// Ends `record` with CR LF and writes it to the unit: console records go to WriteText at
// once (in pieces of 256 bytes when longer), file records into the unit's block. Failures
// are reported against `statement` and end the run.
void WriteRecord(int unit, std::string_view record, const IoStatement& statement);

}  // namespace kova
