// The console host: the frame with its one Input/Output window, the four console operations
// the text layer reaches it through, the frame's commands and the close sequence. One thread
// runs everything; the window stays live because every console operation lets Qt handle the
// events that are waiting.
#pragma once

#include <QString>
#include <cstddef>
#include <memory>
#include <string>

#include "host/close_sequence.h"
#include "host/event_pacing.h"
#include "host/input_output_window.h"
#include "host/transcript.h"
#include "textio/console_hooks.h"

class QMdiSubWindow;

namespace kova::win {

class FrameWindow;
class InputOutputWidget;

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

  // The four console operations (console_operations.cpp), as hooks for the text layer.
  ConsoleHooks Operations();
  std::size_t ReadLine(char* buffer, std::size_t capacity);
  std::size_t WriteText(const char* text, std::size_t length);
  void EndOfRun();
  void Poll();

  FrameWindow& Frame() { return *frame_; }
  InputOutputWidget& InputOutput() { return *inputOutput_; }
  QMdiSubWindow* InputOutputWindow() { return inputOutputWindow_; }
  const host::Transcript& Lines() const { return transcript_; }
  const host::HostFlags& Flags() const { return flags_; }
  bool FrameClosed() const { return frameClosed_; }

 private:
  void RouteCommand(int id);
  void SetSelectionCommands(bool usable);
  void EnablePaste();
  void HandleDueEvents();
  // The close sequence (frame_closing.cpp); false keeps the frame open.
  bool CloseRequested();
  void SaveBeforeClosing(host::SaveBeforeClose save);

  host::Transcript transcript_;
  host::InputOutputWindow model_{transcript_};
  host::HostFlags flags_;
  std::unique_ptr<FrameWindow> frame_;
  InputOutputWidget* inputOutput_ = nullptr;
  QMdiSubWindow* inputOutputWindow_ = nullptr;
  std::size_t deliveredRow_ = 0;  // the line that ended the last read
  bool frameClosed_ = false;
  host::EventPacer pacer_;
  std::string saveFileName_;
};

}  // namespace kova::win
