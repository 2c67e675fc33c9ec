#include "textio/console.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "textio/failures.h"
#include "textio/run_endings.h"
#include "textio/units.h"

namespace kova {

// ---- The console operations -------------------------------------------------------------

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
      if (count < 0 && errno == EINTR) {
        EndIfInterrupted();  // a signal while the user was asked for an answer
        continue;
      }
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

void OpenMissingStandardStreams() {
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    // open() takes the lowest free descriptor: this one, since those below it are open.
    const int opened = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened != descriptor && opened >= 0) ::close(opened);
  }
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

// ---- Output in blocks -------------------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;

class OutputBlock {
 public:
  OutputBlock(ConsoleHooks console, std::chrono::milliseconds longestWait)
      : console_(std::move(console)), longestWait_(longestWait) {
    pending_.reserve(kOutputBlockSize);
  }

  // Collects one piece; returns 0 when writing out a full block fails.
  std::size_t Collect(const char* text, std::size_t count) {
    if (failed_) return 0;
    if (pending_.empty()) firstCollected_ = Clock::now();
    pending_.append(text, count);
    if (pending_.size() >= kOutputBlockSize && !WriteOut()) return 0;
    return count;
  }

  // Writes out what is collected, or ends the run with the report of a failed console WRITE.
  void WriteOutOrReport() {
    if (!WriteOut()) ReportRunTimeError(failure::kWriteFault, {Statement::Write, kDefaultUnit});
  }

  // Returns false when this write fails. After a failure nothing more is written or
  // reported, so that the report's own lines neither try again nor report again.
  bool WriteOut() {
    if (failed_ || pending_.empty()) return true;
    const bool written =
        console_.WriteText(pending_.data(), pending_.size(), ConsoleStream::Output) != 0;
    pending_.clear();
    failed_ = !written;
    return written;
  }

  bool WaitedTooLong() const {
    return !pending_.empty() && Clock::now() - firstCollected_ >= longestWait_;
  }

  const ConsoleHooks& Console() const { return console_; }

 private:
  ConsoleHooks console_;
  std::chrono::milliseconds longestWait_;
  std::string pending_;
  Clock::time_point firstCollected_;
  bool failed_ = false;
};

}  // namespace

ConsoleHooks BufferOutput(ConsoleHooks console, std::chrono::milliseconds longestWait) {
  const auto block = std::make_shared<OutputBlock>(console, longestWait);
  ConsoleHooks hooks = std::move(console);
  hooks.ReadLine = [block](char* buffer, std::size_t capacity) {
    block->WriteOutOrReport();
    return block->Console().ReadLine(buffer, capacity);
  };
  hooks.WriteText = [block](const char* text, std::size_t count, ConsoleStream stream) {
    if (stream == ConsoleStream::Output) return block->Collect(text, count);
    block->WriteOutOrReport();
    return block->Console().WriteText(text, count, stream);
  };
  hooks.EndOfRun = [block](int exitCode) {
    block->WriteOut();
    block->Console().EndOfRun(exitCode);
  };
  hooks.Poll = [block] {
    if (block->WaitedTooLong()) block->WriteOutOrReport();
    block->Console().Poll();
  };
  return hooks;
}

}  // namespace kova
