// Console output collected in a block and written in one piece, for a console that is a file
// or a pipe: one write per record would bind a long run of small steps to the system's
// writes. Whatever is collected is written out before every read of an answer, before
// anything goes to the error stream, when the run ends and when it has waited longer than a
// moment, so the order in which a user or a script sees the lines is that of the records.
#pragma once

#include <chrono>

#include "textio/console_hooks.h"

namespace kova {

// The bytes collected before they are written without waiting for a reason.
constexpr std::size_t kOutputBlockSize = 65536;

// Wraps `console` so that its output stream is written in blocks. A write that fails shows
// where it is found: at a record (that WRITE fails, as it would have), or before a read, an
// error-stream text or in Poll, where the run ends with the report of a failed WRITE on the
// console. At the end of the run a failure can no longer be reported and changes nothing.
// Poll writes out what has waited for longer than `longestWait`.
ConsoleHooks BufferOutput(ConsoleHooks console,
                          std::chrono::milliseconds longestWait = std::chrono::seconds(1));

}  // namespace kova
