// Saving the transcript to a text file: every line, output and typed alike, followed by
// CR LF, and nothing else; an empty transcript gives an empty file.
#pragma once

#include <string>

#include "host/transcript.h"

namespace kova::host {

enum class SaveOutcome {
  Saved,
  CannotCreate,  // the file could not be created; nothing was written
  WriteFailed,   // a write failed part-way; the file holds what was written before it
};

// Writes the transcript to `path`, replacing any file there. Every write is checked, the
// file's closing included. Only a complete save marks the transcript saved.
SaveOutcome SaveTranscript(Transcript& transcript, const std::string& path);

// The file-name part of a path: the title the Input/Output window takes after a save.
std::string FileTitle(const std::string& path);

// The PDF file that printing to a file proposes: beside the saved transcript, named after it
// with ".pdf" for its extension; before the transcript is saved (`savedFile` empty),
// "transcript.pdf" in the working folder, where the run's own files are.
std::string PdfFileFor(const std::string& savedFile, const std::string& workingFolder);

}  // namespace kova::host
