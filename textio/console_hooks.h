// The four console operations through which the text I/O layer reaches whoever shows the
// console: a terminal (the defaults here) or the window host, which installs its own.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace kova {

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

// Hands one piece of error-stream text to WriteText (the stop text, report lines).
void WriteErrorText(std::string_view text);

// The hooks in force; the standard-stream ones until a host installs its own.
ConsoleHooks& Console();
// Operations left unset keep their standard-stream defaults.
void InstallConsoleHooks(ConsoleHooks hooks);

}  // namespace kova
