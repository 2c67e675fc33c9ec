#include "apps/run_outputs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "report/run_picture.h"
#include "report/result_tables.h"
#include "plots/svg_picture.h"
#include "textio/console.h"
#include "textio/output_editing.h"
#include "textio/units.h"
#include "textio/run_endings.h"

namespace kova::cli {
namespace {

// Writes `text` to `file` and closes it; false, with the system's reason, when it cannot.
bool WriteAndClose(std::FILE* file, const std::string& text, std::string& reason) {
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                       std::fflush(file) == 0;
  int error = written ? 0 : errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  if (!written || error != 0) {
    reason = std::strerror(error != 0 ? error : EIO);
    return false;
  }
  return true;
}

// A device or a pipe named as a result file is written as it stands.
bool WriteInPlace(const std::string& name, const std::string& text, std::string& reason) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) {
    reason = std::strerror(errno);
    return false;
  }
  return WriteAndClose(file, text, reason);
}

// The permissions a file created by the run gets: those of the file it replaces, or the
// usual ones less the process's mask.
mode_t PermissionsFor(const std::string& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Writes `text` to the file `name` whole or not at all: into a new file beside it, which then
// takes its name. On a full disk, or any other failure, the new file is removed and a file
// that had the name keeps it, as it was. A link is followed to the file it names.
bool WriteFile(const std::string& name, const std::string& text, std::string& reason) {
  const std::string path = ResultFilePath(name);
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    return WriteInPlace(path, text, reason);
  }
  std::string temporary = path + ".XXXXXX";
  const int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) {
    reason = std::strerror(errno);
    return false;
  }
  const mode_t permissions = PermissionsFor(path);
  std::FILE* file = ::fdopen(descriptor, "wb");
  if (file == nullptr) {
    reason = std::strerror(errno);
    ::close(descriptor);
    ::unlink(temporary.c_str());
    return false;
  }
  // A file system that allocates on write-back reports a full disk only to fsync.
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                       std::fflush(file) == 0 && ::fsync(descriptor) == 0 &&
                       ::fchmod(descriptor, permissions) == 0;
  const int error = written ? 0 : errno;
  if (!WriteAndClose(file, "", reason) || !written ||
      ::rename(temporary.c_str(), path.c_str()) != 0) {
    if (reason.empty()) reason = std::strerror(error != 0 ? error : errno);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string ResultFilePath(const std::string& name) {
  namespace fs = std::filesystem;
  fs::path path(name);
  // Links are followed one at a time, so that a link to a file not yet there is followed too.
  constexpr int kMostLinks = 40;
  std::error_code error;
  for (int link = 0; link < kMostLinks && fs::is_symlink(path, error); ++link) {
    const fs::path target = fs::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path.string();
}

namespace {

void WriteSpeciesReport(const RunOutcome& outcome, double alpha) {
  for (const std::string& line : SpeciesReportLines(outcome, alpha))
    WriteFreeFormat(kDefaultUnit, {line});
}

void MakeRunOutputs(const RunOutputs& outputs, const RunOutcome& outcome) {
  if (outputs.speciesReport) WriteSpeciesReport(outcome, outputs.alpha);
  bool complete = true;
  const auto write = [&complete, &outputs](const std::string& name, const auto& text) {
    if (name.empty()) return;
    std::string reason;
    if (WriteFile(name, text(), reason)) return;
    WriteErrorText(outputs.program + ": " + name + ": could not be written (" + reason +
                   "); the console and RESULTS.TXT are complete\n");
    complete = false;
  };
  write(outputs.speciesTable, [&outcome] { return SpeciesTableText(outcome); });
  write(outputs.summary, [&outcome] { return CommunitySummaryText(outcome); });
  write(outputs.plot, [&outcome] { return plots::SvgDocument(RunPicture(outcome)); });
  if (!complete) StopRun(" ", kResultFileExitCode);
}

}  // namespace

RunObserver RunOutputsObserver(const RunOutputs& outputs) {
  RunObserver observer;
  observer.keepsSpecies = !outputs.speciesTable.empty() || outputs.speciesReport;
  observer.keepsStepSums = !outputs.plot.empty();
  if (outputs.Any()) {
    observer.runCompleted = [outputs](const RunOutcome& outcome) {
      MakeRunOutputs(outputs, outcome);
    };
  }
  return observer;
}

RunObserver BothObservers(RunObserver first, RunObserver second) {
  RunObserver both;
  both.keepsStepSums = first.keepsStepSums || second.keepsStepSums;
  both.keepsSpecies = first.keepsSpecies || second.keepsSpecies;
  if (first.stepReported || second.stepReported) {
    both.stepReported = [first = first.stepReported, second = second.stepReported](
                            std::int64_t step, std::int64_t stepCount) {
      if (first) first(step, stepCount);
      if (second) second(step, stepCount);
    };
  }
  if (first.runCompleted || second.runCompleted) {
    both.runCompleted = [first = first.runCompleted,
                         second = second.runCompleted](const RunOutcome& outcome) {
      if (first) first(outcome);
      if (second) second(outcome);
    };
  }
  return both;
}

}  // namespace kova::cli
