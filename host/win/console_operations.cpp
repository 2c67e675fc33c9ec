#include "host/win/console_operations.h"

#include <QCoreApplication>
#include <QEventLoop>

#include "host/console_lines.h"
#include "host/win/input_output_widget.h"

namespace kova::win {

ConsoleOperations::ConsoleOperations(host::InputOutputWindow& model, InputOutputWidget& window,
                                     host::HostFlags& flags)
    : model_(model), window_(window), flags_(flags) {
  model_.lineCompleted = [this](std::size_t row) {
    if (!flags_.awaitingLine) return;  // a line typed ahead is never delivered
    flags_.awaitingLine = false;
    deliveredRow_ = row;
  };
}

ConsoleHooks ConsoleOperations::Hooks() {
  ConsoleHooks hooks;
  hooks.ReadLine = [this](char* buffer, std::size_t capacity) {
    return ReadLine(buffer, capacity);
  };
  hooks.WriteText = [this](const char* text, std::size_t length, ConsoleStream) {
    return WriteText(text, length);
  };
  hooks.EndOfRun = [this](int) { EndOfRun(); };
  hooks.Poll = [this] { HandleDueEvents(); };
  return hooks;
}

// Waits for the next line the user completes and hands it over with CR LF. Lines typed
// before the read began were never asked for and are not delivered.
std::size_t ConsoleOperations::ReadLine(char* buffer, std::size_t capacity) {
  flags_.awaitingLine = true;
  window_.Refresh();
  while (flags_.awaitingLine)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return host::CopyLineForRead(model_.Lines().Line(deliveredRow_), buffer, capacity);
}

// Every call makes one line, whatever it holds; the length passed in is returned.
std::size_t ConsoleOperations::WriteText(const char* text, std::size_t length) {
  window_.AppendLine(std::string_view(text, host::LineLengthWithoutEnd(text, length)));
  HandleDueEvents();
  return length;
}

// The waiting events are handled every few milliseconds of a run, not after every line.
void ConsoleOperations::HandleDueEvents() {
  if (pacer_.Due(host::EventPacer::Clock::now())) QCoreApplication::processEvents();
}

// The run has ended: the window stays, with its transcript, until the user closes the frame.
void ConsoleOperations::EndOfRun() {
  flags_.runEnded = true;
  window_.Refresh();
  while (!flags_.closingStarted)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace kova::win
