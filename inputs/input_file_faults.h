// The input files of a run started with options are read through the text layer's line
// and record readers; a file that cannot be opened or read is a fault of the run, named
// with the system's reason.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "inputs/input_fault.h"
#include "textio/records.h"

namespace kova {

// The named file's bytes, or the fault of a file that cannot be opened.
std::optional<InputFault> OpenInputFile(const std::string& fileName,
                                        std::unique_ptr<ByteSource>& source);

// The fault of a read that ended with `outcome` (Failed or NoRoom), `error` the reader's.
InputFault ReadFault(const std::string& fileName, ReadOutcome outcome, int error);

}  // namespace kova
