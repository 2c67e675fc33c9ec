// The four console operations on the window. Each lets Qt handle the events that wait, so
// the user can scroll, select, copy and use the menus while the analysis runs; a read waits
// in a nested event loop until the user completes a line.
#include <QCoreApplication>
#include <QEventLoop>

#include "host/console_lines.h"
#include "host/win/console_host.h"
#include "host/win/input_output_widget.h"

namespace kova::win {

ConsoleHooks ConsoleHost::Operations() {
  ConsoleHooks hooks;
  hooks.ReadLine = [this](char* buffer, std::size_t capacity) {
    return ReadLine(buffer, capacity);
  };
  // Both streams go to the one window.
  hooks.WriteText = [this](const char* text, std::size_t length, ConsoleStream) {
    return WriteText(text, length);
  };
  hooks.EndOfRun = [this](int) { EndOfRun(); };
  hooks.Poll = [this] { Poll(); };
  return hooks;
}

// Waits for the next line the user completes and hands it over with CR LF. Lines typed
// before the read began were never asked for and are not delivered.
std::size_t ConsoleHost::ReadLine(char* buffer, std::size_t capacity) {
  flags_.awaitingLine = true;
  inputOutput_->Refresh();
  while (flags_.awaitingLine)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return host::CopyLineForRead(transcript_.Line(deliveredRow_), buffer, capacity);
}

// Every call makes one line, whatever it holds; the length passed in is returned.
std::size_t ConsoleHost::WriteText(const char* text, std::size_t length) {
  inputOutput_->AppendLine(std::string_view(text, host::LineLengthWithoutEnd(text, length)));
  HandleDueEvents();
  return length;
}

void ConsoleHost::Poll() {
  HandleDueEvents();
}

// The waiting events are handled every few milliseconds of a run, not after every line.
void ConsoleHost::HandleDueEvents() {
  if (pacer_.Due(host::EventPacer::Clock::now())) QCoreApplication::processEvents();
}

// The run has ended: the window stays, with its transcript, until the user closes the frame.
void ConsoleHost::EndOfRun() {
  flags_.runEnded = true;
  inputOutput_->Refresh();
  while (!frameClosed_)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace kova::win
