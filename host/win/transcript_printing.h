// Printing the transcript: the lines as they stand, page after page in the console's font,
// one copy after another, with a check after every line whether the user cancelled.
#pragma once

#include <QPrinter>
#include <cstddef>
#include <functional>
#include <optional>

#include "host/print_layout.h"
#include "host/transcript.h"

namespace kova::win {

inline constexpr const char* kPrintDocumentName = "KOVA Input/Output";

struct PrintOutcome {
  bool completed = false;  // the document was ended; false when it could not start or was cancelled
  std::size_t linesPrinted = 0;
  int linesPerPage = 0;
};

// Prints on a printer that is set up already. `goOn` is asked after every line; when it says
// no, the job is aborted at once.
PrintOutcome PrintTranscript(const host::Transcript& transcript, QPrinter& printer,
                             const std::optional<host::PageRange>& pages, int copies,
                             const std::function<bool()>& goOn);

}  // namespace kova::win
