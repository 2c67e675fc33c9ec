#include "host/win/frame_closing.h"

#include <optional>

#include "host/win/frame_window.h"
#include "host/win/message_boxes.h"
#include "host/win/transcript_saving.h"
#include "textio/run_endings.h"
#include "textio/units.h"

namespace kova::win {

FrameClosing::FrameClosing(FrameWindow& frame, const host::Transcript& transcript,
                           TranscriptSaving& saving, host::HostFlags& flags)
    : frame_(frame), transcript_(transcript), saving_(saving), flags_(flags) {}

bool FrameClosing::Requested() {
  if (flags_.closingStarted) return true;
  std::optional<host::SaveAnswer> answer;
  if (host::AsksToSave(transcript_.Saved())) {
    answer = AskToSaveTranscript(&frame_);
    frame_.FocusConsole();
  }
  const host::CloseDecision decision =
      host::DecideClose(answer, !saving_.FileName().empty(), flags_);
  if (!decision.proceed) return false;
  saving_.SaveBeforeClosing(decision.save);
  flags_.closingStarted = true;
  if (decision.endProcess) {
    // The analysis is cut short: everything it wrote so far goes out to its files.
    frame_.hide();
    CloseAllUnits();
    EndRun(0);
  }
  return true;
}

}  // namespace kova::win
