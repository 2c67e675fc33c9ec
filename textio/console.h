// The console as the text layer sees it: four operations through which it reaches whoever
// shows the console (a terminal, by the defaults here, or the window host, which installs its
// own), and the block-wise output a console on a file or a pipe uses.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string_view>

namespace kova {

// ---- The console operations -------------------------------------------------------------
// The four console operations through which the text I/O layer reaches whoever shows the
// console: a terminal (the defaults here) or the window host, which installs its own.

enum class ConsoleStream { Output, Error };

struct ConsoleHooks {
  // Stores one line of input followed by CR LF and returns the number of bytes stored;
  // 0 means end of input. Capacity is at least 2.
  std::function<std::size_t(char* buffer, std::size_t capacity)> ReadLine;
  // Shows one piece of output; returns the count written, 0 on failure.
  std::function<std::size_t(const char* text, std::size_t count, ConsoleStream stream)> WriteText;
  // Called once just before the process ends, on every ending route.
  std::function<void(int exitCode)> EndOfRun;
  // Called at the start of every OPEN, CLOSE and WRITE and of every READ on a file unit.
  std::function<void()> Poll;
};

// Standard input a line at a time, standard output and standard error; EndOfRun and Poll
// do nothing.
ConsoleHooks StandardStreamHooks();

// Opens /dev/null on each of standard input, output and error that the process was started
// without, before anything else opens a file: the next file opened would otherwise take the
// stream's descriptor, and the console's text would be written into it ("RESULTS.TXT", say).
// A program calls it first thing.
void OpenMissingStandardStreams();

// Hands one piece of error-stream text to WriteText (the stop text, report lines).
void WriteErrorText(std::string_view text);

// The hooks in force; the standard-stream ones until a host installs its own.
ConsoleHooks& Console();
// Operations left unset keep their standard-stream defaults.
void InstallConsoleHooks(ConsoleHooks hooks);

// ---- Output in blocks -------------------------------------------------------------------
// Console output collected in a block and written in one piece, for a console that is a file
// or a pipe: one write per record would bind a long run of small steps to the system's
// writes. Whatever is collected is written out before every read of an answer, before
// anything goes to the error stream, when the run ends and when it has waited longer than a
// moment, so the order in which a user or a script sees the lines is that of the records.

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
