#include "apps/kova-cli/result_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "apps/run_picture.h"
#include "driver/result_tables.h"
#include "plots/svg_picture.h"
#include "textio/console.h"
#include "textio/run_endings.h"

namespace kova::cli {
namespace {

// Writes `text` to the file `name`; false, with the system's reason, when it cannot.
bool WriteFile(const std::string& name, const std::string& text, std::string& reason) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) {
    reason = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  int error = written ? 0 : errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  if (!written || error != 0) {
    reason = std::strerror(error != 0 ? error : EIO);
    return false;
  }
  return true;
}

void WriteResultFiles(const ResultFiles& files, const RunOutcome& outcome) {
  bool complete = true;
  const auto write = [&complete](const std::string& name, const auto& text) {
    if (name.empty()) return;
    std::string reason;
    if (WriteFile(name, text(), reason)) return;
    WriteErrorText("kova-cli: " + name + ": could not be written (" + reason +
                   "); the console and RESULTS.TXT are complete\n");
    complete = false;
  };
  write(files.speciesTable, [&outcome] { return SpeciesTableText(outcome); });
  write(files.summary, [&outcome] { return CommunitySummaryText(outcome); });
  write(files.plot, [&outcome] { return plots::SvgDocument(RunPicture(outcome)); });
  if (!complete) StopRun(" ", kResultFileExitCode);
}

}  // namespace

RunObserver ResultFilesObserver(const ResultFiles& files) {
  RunObserver observer;
  observer.keepsSpecies = !files.speciesTable.empty();
  observer.keepsStepSums = !files.plot.empty();
  if (files.Any()) {
    observer.runCompleted = [files](const RunOutcome& outcome) {
      WriteResultFiles(files, outcome);
    };
  }
  return observer;
}

}  // namespace kova::cli
