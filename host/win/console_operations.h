// The four console operations on the window, the hooks through which the text layer reaches
// it. Each lets Qt handle the events that wait, so the user can scroll, select, copy and use
// the menus while the analysis runs; a read waits in a nested event loop until the user
// completes a line, and the end of the run waits until the frame has closed.
#pragma once

#include <cstddef>

#include "host/close_sequence.h"
#include "host/event_pacing.h"
#include "host/input_output_window.h"
#include "textio/console.h"

namespace kova::win {

class InputOutputWidget;

class ConsoleOperations {
 public:
  // `flags` are the host's: a read sets awaitingLine, the end of the run sets runEnded and
  // waits for closingStarted.
  ConsoleOperations(host::InputOutputWindow& model, InputOutputWidget& window,
                    host::HostFlags& flags);
  ConsoleOperations(const ConsoleOperations&) = delete;
  ConsoleOperations& operator=(const ConsoleOperations&) = delete;

  // ReadLine, WriteText (both streams to the one window), EndOfRun and Poll; they refer to
  // this object, which must outlive them.
  ConsoleHooks Hooks();

 private:
  std::size_t ReadLine(char* buffer, std::size_t capacity);
  std::size_t WriteText(const char* text, std::size_t length);
  void EndOfRun();
  void HandleDueEvents();

  host::InputOutputWindow& model_;
  InputOutputWidget& window_;
  host::HostFlags& flags_;
  std::size_t deliveredRow_ = 0;  // the line that ended the last read
  host::EventPacer pacer_;
};

}  // namespace kova::win
