// The console host: the frame with its one Input/Output window, the four console operations
// the text layer reaches it through, and the frame's commands, each routed to the part that
// carries it out. One thread runs everything; the window stays live because every console
// operation lets Qt handle the events that are waiting.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "host/close_sequence.h"
#include "host/input_output_window.h"
#include "host/transcript.h"
#include "host/win/console_operations.h"
#include "host/win/frame_closing.h"
#include "host/win/print_command.h"
#include "host/win/transcript_saving.h"
#include "textio/console.h"

namespace kova::win {

class FrameWindow;
class InputOutputWidget;
class ProgramServices;

// Exit code of a start-up that could not open its windows.
inline constexpr int kWindowsNotCreated = 6;

class ConsoleHost {
 public:
  explicit ConsoleHost(const QString& frameTitle);
  ~ConsoleHost();
  ConsoleHost(const ConsoleHost&) = delete;
  ConsoleHost& operator=(const ConsoleHost&) = delete;

  // Shows the frame with the Input/Output window in it, the keyboard focus in the window.
  bool Show();
  // The four console operations, as hooks for the text layer; once shown.
  ConsoleHooks Operations();

  // What a program started beside the analysis may watch: the frame the user works in, the
  // lines the window holds, and whether a read waits or the run has ended.
  FrameWindow& Frame() { return *frame_; }
  const host::Transcript& Lines() const { return transcript_; }
  const host::HostFlags& Flags() const { return flags_; }

 private:
  void RouteCommand(int id);
  void About();

  host::Transcript transcript_;
  host::InputOutputWindow model_{transcript_};
  host::HostFlags flags_;
  std::unique_ptr<FrameWindow> frame_;
  std::unique_ptr<ProgramServices> services_;
  TranscriptSaving saving_;
  PrintCommand printing_;
  FrameClosing closing_;
  InputOutputWidget* inputOutput_ = nullptr;  // owned by its window in the frame
  std::optional<ConsoleOperations> operations_;
};

}  // namespace kova::win
