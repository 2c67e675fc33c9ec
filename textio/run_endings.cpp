#include "textio/run_endings.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "textio/console.h"
#include "textio/failures.h"
#include "textio/units.h"

namespace kova {

// ---- The end of the process -------------------------------------------------------------

namespace {

[[noreturn]] void ExitProcess(int exitCode) {
  std::exit(exitCode);
}

ProcessExitFunction processExit = &ExitProcess;

}  // namespace

void EndRun(int exitCode) {
  Console().EndOfRun(exitCode);
  processExit(exitCode);
  std::abort();  // an installed exit function must not come back
}

ProcessExitFunction SetProcessExit(ProcessExitFunction exit) {
  const ProcessExitFunction previous = processExit;
  processExit = exit != nullptr ? exit : &ExitProcess;
  return previous;
}

// ---- The stop ---------------------------------------------------------------------------

namespace {}  // namespace

void StopRun(std::string_view codeText, int exitCode) {
  if (codeText.empty()) {
    WriteErrorText(" STOP");
  } else {
    WriteErrorText(" STOP ");
    WriteErrorText(codeText);
  }
  WriteErrorText("\n");

  // A file that cannot be written out must not end as a success.
  const UnitFailure failure = CloseAllUnits();
  if (failure.code != 0) ReportRunTimeError(failure.code, {Statement::Close, failure.unit});
  EndRun(exitCode);
}

// ---- The run-time error report ----------------------------------------------------------

namespace {

std::string_view KeywordText(Statement keyword) {
  switch (keyword) {
    case Statement::Open:
      return "OPEN";
    case Statement::Close:
      return "CLOSE";
    case Statement::Read:
      return "READ";
    case Statement::Write:
      return "WRITE";
    case Statement::None:
      break;
  }
  return "";
}

// One line of a report, in a buffer of its own; what does not fit is left out.
class ReportLine {
 public:
  ReportLine& Append(std::string_view text) {
    const std::size_t count = std::min(text.size(), sizeof text_ - size_);
    std::memcpy(text_ + size_, text.data(), count);
    size_ += count;
    return *this;
  }
  ReportLine& AppendNumber(int value) {
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;
    return Append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  std::string_view Text() const { return std::string_view(text_, size_); }

 private:
  char text_[512];
  std::size_t size_ = 0;
};

}  // namespace

void ReportRunTimeError(int code, IoStatement statement) {
  CloseAllUnits();

  // The lines are put together without allocating: the failure may be a lack of memory.
  const bool runTime = failure::IsRunTimeCode(code);
  WriteErrorText(runTime ? "? FORTRAN Runtime Error:\n" : "? System Error:\n");
  ReportLine message;
  if (runTime) {
    message.Append("? ").Append(RunTimeMessage(code)).Append("\n");
  } else {
    message.Append("? ").Append(SystemErrorMessage(code)).Append("\n");
  }
  WriteErrorText(message.Text());

  if (statement.keyword != Statement::None) {
    ReportLine keyword;
    keyword.Append("? ").Append(KeywordText(statement.keyword)).Append("(UNIT=");
    WriteErrorText(keyword.Text());
    ReportLine unit;
    if (statement.unit == kDefaultUnit) {
      unit.Append("*");
    } else {
      unit.AppendNumber(statement.unit);
    }
    WriteErrorText(unit.Append(",...\n").Text());
  }
  EndRun(-1);
}

// ---- Interruption -----------------------------------------------------------------------

namespace {

// Lock-free, so the handler may set it whichever thread the signal arrives on.
std::atomic<int> notedSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);
bool endingInterruptedRun = false;

// All the handler may do: note the signal, or end at once when one is noted already.
extern "C" void NoteSignal(int signal) {
  if (notedSignal.exchange(signal) != 0) ::_exit(128 + signal);
}

// Built without allocating: the run may be short of memory.
std::string_view InterruptionLine(int signal) {
  switch (signal) {
    case SIGINT:
      return "? Run interrupted by SIGINT\n";
    case SIGTERM:
      return "? Run interrupted by SIGTERM\n";
    case SIGHUP:
      return "? Run interrupted by SIGHUP\n";
    default:
      return "? Run interrupted by a signal\n";
  }
}

}  // namespace

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = &NoteSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a read waiting for an answer returns, so the signal is acted on at once.
  action.sa_flags = 0;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    ::sigaction(signal, &action, nullptr);
}

void EndIfInterrupted() {
  const int signal = notedSignal.load();
  if (signal == 0 || endingInterruptedRun) return;
  endingInterruptedRun = true;
  CloseAllUnits();
  WriteErrorText(InterruptionLine(signal));
  EndRun(128 + signal);
}

ConsoleHooks InterruptibleConsole(ConsoleHooks console) {
  const auto inner = std::make_shared<ConsoleHooks>(std::move(console));
  ConsoleHooks hooks;
  hooks.ReadLine = [inner](char* buffer, std::size_t capacity) {
    EndIfInterrupted();
    return inner->ReadLine(buffer, capacity);
  };
  hooks.WriteText = [inner](const char* text, std::size_t count, ConsoleStream stream) {
    EndIfInterrupted();
    return inner->WriteText(text, count, stream);
  };
  hooks.EndOfRun = [inner](int exitCode) { inner->EndOfRun(exitCode); };
  hooks.Poll = [inner] {
    EndIfInterrupted();
    inner->Poll();
  };
  return hooks;
}

}  // namespace kova
