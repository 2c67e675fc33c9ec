// Closing the frame, by its close box, its system menu, Alt+F4 or File > Exit: the offer to
// save the transcript, then the end of the process when the analysis is still running.
#pragma once

#include "host/close_sequence.h"
#include "host/transcript.h"

namespace kova::win {

class FrameWindow;
class TranscriptSaving;

class FrameClosing {
 public:
  FrameClosing(FrameWindow& frame, const host::Transcript& transcript, TranscriptSaving& saving,
               host::HostFlags& flags);

  // The frame is about to close; false keeps it open. When the analysis is still running,
  // this ends the process and does not return.
  bool Requested();

 private:
  FrameWindow& frame_;
  const host::Transcript& transcript_;
  TranscriptSaving& saving_;
  host::HostFlags& flags_;
};

}  // namespace kova::win
