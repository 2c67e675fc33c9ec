// The console host: the frame with its one Input/Output window, the four console operations
// the text layer reaches it through, the frame's commands and the close sequence. One thread
// runs everything; the window stays live because every console operation lets Qt handle the
// events that are waiting.
#pragma once

#include <QString>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "host/close_sequence.h"
#include "host/event_pacing.h"
#include "host/input_output_window.h"
#include "host/print_layout.h"
#include "host/transcript.h"
#include "textio/console.h"

class QMdiSubWindow;
class QPrinter;

namespace kova::win {

class FixedSubWindow;
class FrameWindow;
class InputOutputWidget;
class ProgramServices;
struct PrintOutcome;

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

  // The File menu's commands (transcript_saving.cpp, print_command.cpp).
  void Save();
  bool SaveAs();  // false when no file was chosen
  void Print();
  // Prints on a printer already set up, with the "Printing..." box and the frame disabled.
  PrintOutcome PrintWithProgress(QPrinter& printer, const std::optional<host::PageRange>& pages,
                                 int copies);
  void About();

  FrameWindow& Frame() { return *frame_; }
  InputOutputWidget& InputOutput() { return *inputOutput_; }
  QMdiSubWindow* InputOutputWindow();
  ProgramServices& Services() { return *services_; }
  const host::Transcript& Lines() const { return transcript_; }
  const host::HostFlags& Flags() const { return flags_; }
  bool FrameClosed() const { return frameClosed_; }
  const std::string& SaveFileName() const { return saveFileName_; }
  const std::string& SaveFileTitle() const { return saveFileTitle_; }

 private:
  void RouteCommand(int id);
  void SetSelectionCommands(bool usable);
  void EnablePaste();
  void HandleDueEvents();
  void RestoreFocus();
  void SaveTo(const std::string& path);
  // The close sequence (frame_closing.cpp); false keeps the frame open.
  bool CloseRequested();
  void SaveBeforeClosing(host::SaveBeforeClose save);

  host::Transcript transcript_;
  host::InputOutputWindow model_{transcript_};
  host::HostFlags flags_;
  std::unique_ptr<FrameWindow> frame_;
  std::unique_ptr<ProgramServices> services_;
  InputOutputWidget* inputOutput_ = nullptr;
  FixedSubWindow* inputOutputWindow_ = nullptr;
  std::size_t deliveredRow_ = 0;  // the line that ended the last read
  bool frameClosed_ = false;
  bool printContinue_ = false;
  host::EventPacer pacer_;
  std::string saveFileName_;   // the full path of the last save, empty before the first
  std::string saveFileTitle_;  // its file-name part
};

}  // namespace kova::win
