// File > Print: the print dialog, then the job with its "Printing..." box. While the job
// runs the frame is disabled and the only events handled are those the job lets through
// after every line, so the box's Cancel is heard.
#pragma once

#include <QPrinter>
#include <optional>

#include "host/print_layout.h"
#include "host/transcript.h"
#include "host/win/transcript_printing.h"

namespace kova::win {

class FrameWindow;
class TranscriptSaving;

class PrintCommand {
 public:
  // A print to a file is proposed beside the file `saving` last saved the transcript to.
  PrintCommand(FrameWindow& frame, const host::Transcript& transcript,
               const TranscriptSaving& saving);
  PrintCommand(const PrintCommand&) = delete;
  PrintCommand& operator=(const PrintCommand&) = delete;

  // The print dialog, and the job when the user accepts it.
  void Print();
  // The job on a printer already set up, as Print runs it once the dialog is accepted.
  PrintOutcome PrintOn(QPrinter& printer, const std::optional<host::PageRange>& pages, int copies);

 private:
  FrameWindow& frame_;
  const host::Transcript& transcript_;
  const TranscriptSaving& saving_;
  bool printContinue_ = false;
};

}  // namespace kova::win
