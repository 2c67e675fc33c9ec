// How a run ends: the stop, the run-time error report through which every unchecked failure
// ends the run, an interruption by a signal, and the last step of each, the console's
// EndOfRun and the process exit.
#pragma once

#include <string_view>

#include "textio/console.h"

namespace kova {

// ---- The end of the process -------------------------------------------------------------
// The last step of every route that ends a run: EndOfRun, then the process exit.

using ProcessExitFunction = void (*)(int exitCode);

// Calls the console's EndOfRun, then ends the process with the given code. Tests replace
// the process exit so that the ending routes can be followed in-process.
[[noreturn]] void EndRun(int exitCode);

// Installs the function that ends the process (std::exit unless replaced); returns the one
// it replaces. The function must not return.
ProcessExitFunction SetProcessExit(ProcessExitFunction exit);

// ---- The stop ---------------------------------------------------------------------------

// The STOP statement: " STOP ", the code text and a line feed on the error stream, every
// file unit written out and closed, then the end of the run with the given exit code.
[[noreturn]] void StopRun(std::string_view codeText, int exitCode = 0);

// ---- The run-time error report ----------------------------------------------------------
// The one way an unchecked failure ends the run: a three-line report on the console's error
// stream, every file unit written out and closed, exit code -1.

enum class Statement { None, Open, Close, Read, Write };

// The I/O statement under way when a failure happens; None for failures outside I/O.
struct IoStatement {
  Statement keyword = Statement::None;
  int unit = 0;
};

[[noreturn]] void ReportRunTimeError(int code, IoStatement statement = {});

// ---- Interruption -----------------------------------------------------------------------
// Ctrl+C, kill or a closed terminal (SIGINT, SIGTERM, SIGHUP) end a run as closing the
// window mid-run does: the signal is only noted where it arrives; at the next console
// operation or I/O statement every unit is written out and closed, so the files hold every
// record written so far, one line on the error stream says the run was interrupted, and the
// process ends with code 128 + the signal's number. A second signal ends it at once.

// Installs the handlers. Without them a signal ends the process as the system's default does.
void CatchInterruptions();

// Ends the run when a signal has been noted; returns at once otherwise.
void EndIfInterrupted();

// The console with that check in front of each of its operations.
ConsoleHooks InterruptibleConsole(ConsoleHooks console);

}  // namespace kova
