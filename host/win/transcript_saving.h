// File > Save and Save As of the transcript: the file dialog, the file, the Input/Output
// window's title after it, and the warnings when the file cannot be written. It remembers
// the file the transcript was last saved to, so that Save writes there without asking; a
// file that could not be written is neither remembered nor shown in the title.
#pragma once

#include <string>

#include "host/close_sequence.h"
#include "host/transcript.h"
#include "host/transcript_file.h"

namespace kova::win {

class FrameWindow;

class TranscriptSaving {
 public:
  TranscriptSaving(FrameWindow& frame, host::Transcript& transcript);

  // To the last file chosen; before there is one, as Save As.
  void Save();
  // Asks for a file, opening on the last file saved to.
  void SaveAs();
  // Yes to "Save the Input/Output window?": a failed or cancelled save does not stop the
  // close, so nothing is reported.
  void SaveBeforeClosing(host::SaveBeforeClose save);

  // The full path of the last file saved to; empty before the first.
  const std::string& FileName() const { return fileName_; }

 private:
  host::SaveOutcome SaveTo(const std::string& path);

  FrameWindow& frame_;
  host::Transcript& transcript_;
  std::string fileName_;
};

}  // namespace kova::win
