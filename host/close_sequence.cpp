#include "host/close_sequence.h"

namespace kova::host {

bool AsksToSave(bool transcriptSaved) {
  return !transcriptSaved;
}

CloseDecision DecideClose(std::optional<SaveAnswer> answer, bool saveFileKnown,
                          const HostFlags& flags) {
  CloseDecision decision;
  if (answer == SaveAnswer::Cancel) {
    decision.proceed = false;
    return decision;
  }
  if (answer == SaveAnswer::Yes) {
    decision.save = saveFileKnown ? SaveBeforeClose::ToSavedFile : SaveBeforeClose::ChooseFile;
  }
  decision.endProcess = !flags.runEnded;
  return decision;
}

}  // namespace kova::host
