#include "textio/console_hooks.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace kova {
namespace {

constexpr std::size_t kInputBlockSize = 4096;

// Standard input is read in blocks and handed out a line at a time. A line longer than
// the caller's capacity is cut and the rest of it is dropped, as the window does.
class StandardInputLines {
 public:
  std::size_t ReadLine(char* buffer, std::size_t capacity) {
    if (capacity < 2) return 0;
    const std::size_t room = capacity - 2;
    std::size_t stored = 0;
    bool sawAnything = false;
    for (;;) {
      if (position_ == filled_ && !Refill()) break;
      sawAnything = true;
      const char byte = block_[position_++];
      if (byte == '\n') {
        return Finish(buffer, stored);
      }
      if (stored < room) buffer[stored++] = byte;
    }
    // End of input: a last line without a line feed is still a line.
    return sawAnything ? Finish(buffer, stored) : 0;
  }

 private:
  static std::size_t Finish(char* buffer, std::size_t stored) {
    buffer[stored] = '\r';
    buffer[stored + 1] = '\n';
    return stored + 2;
  }

  bool Refill() {
    for (;;) {
      const ssize_t count = ::read(STDIN_FILENO, block_, sizeof block_);
      if (count > 0) {
        position_ = 0;
        filled_ = static_cast<std::size_t>(count);
        return true;
      }
      if (count < 0 && errno == EINTR) continue;
      return false;
    }
  }

  char block_[kInputBlockSize];
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
};

std::size_t WriteToDescriptor(int descriptor, const char* text, std::size_t count) {
  std::size_t written = 0;
  while (written < count) {
    const ssize_t result = ::write(descriptor, text + written, count - written);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0) return 0;
    written += static_cast<std::size_t>(result);
  }
  return count;
}

}  // namespace

ConsoleHooks StandardStreamHooks() {
  static StandardInputLines input;
  ConsoleHooks hooks;
  hooks.ReadLine = [](char* buffer, std::size_t capacity) {
    return input.ReadLine(buffer, capacity);
  };
  hooks.WriteText = [](const char* text, std::size_t count, ConsoleStream stream) {
    const int descriptor = stream == ConsoleStream::Error ? STDERR_FILENO : STDOUT_FILENO;
    return WriteToDescriptor(descriptor, text, count);
  };
  hooks.EndOfRun = [](int) {};
  hooks.Poll = [] {};
  return hooks;
}

ConsoleHooks& Console() {
  static ConsoleHooks hooks = StandardStreamHooks();
  return hooks;
}

void WriteErrorText(std::string_view text) {
  Console().WriteText(text.data(), text.size(), ConsoleStream::Error);
}

void InstallConsoleHooks(ConsoleHooks hooks) {
  // An operation the host leaves unset keeps its standard-stream default.
  ConsoleHooks defaults = StandardStreamHooks();
  if (!hooks.ReadLine) hooks.ReadLine = std::move(defaults.ReadLine);
  if (!hooks.WriteText) hooks.WriteText = std::move(defaults.WriteText);
  if (!hooks.EndOfRun) hooks.EndOfRun = std::move(defaults.EndOfRun);
  if (!hooks.Poll) hooks.Poll = std::move(defaults.Poll);
  Console() = std::move(hooks);
}

}  // namespace kova
