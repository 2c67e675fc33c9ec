// Closing the frame, by its close box, its system menu, Alt+F4 or File > Exit: the offer to
// save the transcript, then the end of the process when the analysis is still running.
#include "host/win/console_host.h"
#include "host/win/frame_window.h"
#include "host/win/input_output_widget.h"
#include "host/win/message_boxes.h"
#include "textio/run_endings.h"
#include "textio/units.h"

namespace kova::win {

bool ConsoleHost::CloseRequested() {
  if (flags_.closingStarted) return true;
  std::optional<host::SaveAnswer> answer;
  if (host::AsksToSave(transcript_.Saved())) {
    answer = AskToSaveTranscript(frame_.get());
    RestoreFocus();
  }
  const host::CloseDecision decision = host::DecideClose(answer, !saveFileName_.empty(), flags_);
  if (!decision.proceed) return false;
  SaveBeforeClosing(decision.save);
  flags_.closingStarted = true;
  frameClosed_ = true;
  if (decision.endProcess) {
    // The analysis is cut short: everything it wrote so far goes out to its files.
    frame_->hide();
    CloseAllUnits();
    EndRun(0);
  }
  return true;
}

}  // namespace kova::win
