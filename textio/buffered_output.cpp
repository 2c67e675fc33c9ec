#include "textio/buffered_output.h"

#include <memory>
#include <string>
#include <utility>

#include "textio/failure_codes.h"
#include "textio/run_time_error.h"
#include "textio/unit_numbers.h"

namespace kova {
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
