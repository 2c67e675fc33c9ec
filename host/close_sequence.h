// The host's state flags and the decisions of closing the frame, whether by its close box,
// its system menu, Alt+F4 or File > Exit.
#pragma once

#include <optional>

namespace kova::host {

struct HostFlags {
  bool closingStarted = false;  // the close sequence has begun
  bool runEnded = false;        // the analysis has ended and waits for the frame to close
  bool awaitingLine = false;    // a read waits for the user to complete a line
};

enum class SaveAnswer { Yes, No, Cancel };

enum class SaveBeforeClose {
  None,
  ToSavedFile,  // the transcript was saved before: write it there again
  ChooseFile,   // ask for a file first; a cancelled choice saves nothing
};

struct CloseDecision {
  bool proceed = true;  // false: the close is abandoned and nothing changes
  SaveBeforeClose save = SaveBeforeClose::None;
  // The analysis is still running: after the frame is gone every unit is closed and the
  // process ends with code 0. Otherwise the ended run's own exit code stands.
  bool endProcess = false;
};

// Whether "Save the Input/Output window?" is asked: unless the transcript was saved after its
// last change.
bool AsksToSave(bool transcriptSaved);

// What the close does once the question, if asked, has its answer. A failed or cancelled
// save does not stop the close.
CloseDecision DecideClose(std::optional<SaveAnswer> answer, bool saveFileKnown,
                          const HostFlags& flags);

}  // namespace kova::host
