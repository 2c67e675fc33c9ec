#include "driver/dialogue.h"

#include <string>

#include "driver/group_check.h"
#include "driver/input_files.h"
#include "textio/free_format_input.h"
#include "textio/output_editing.h"
#include "textio/units.h"
#include "textio/run_endings.h"

namespace kova {
namespace {

// A failure of the analysis's own checks: the run stops, but the shell must see a failure.
constexpr int kInputFailureExitCode = 1;

void Prompt(std::string_view text) {
  WriteFreeFormat(kDefaultUnit, {text});
}

void ReadFileName(AnalysisData& data) {
  ReadFreeFormat(kDefaultUnit, {CharacterItem(data.fileName, kFileNameLength)});
}

// Any failure to open an input file is reported as a missing file.
void OpenInputFile(const AnalysisData& data) {
  std::int32_t status = 0;
  OpenUnit(kInputUnit, std::string_view(data.fileName, kFileNameLength), OpenStatus::Old, &status);
  if (status > 0) {
    WriteFreeFormat(kDefaultUnit, {"INPUT FILE DOES NOT EXIST!!"});
    StopRun(" ", kInputFailureExitCode);
  }
}

}  // namespace

void RunDialogue(AnalysisData& data) {
  Prompt(" ENTER INPUT FILENAME");
  ReadFileName(data);
  OpenInputFile(data);
  ReadDataFile(data);
  DerivePresence(data);

  Prompt(" enter random seed");
  ReadFreeFormat(kDefaultUnit, {IntegerItem(data.randomSeed)});
  Prompt(" enter number of randomizations");
  ReadFreeFormat(kDefaultUnit, {IntegerItem(data.randomizationCount)});

  Prompt(" ENTER INPUT FILENAME FOR GROUP MEMBERSHIPS");
  ReadFileName(data);
  OpenInputFile(data);
  ReadGroupFile(data);
  if (!GroupNumbersInRange(data)) StopRun(" ", kInputFailureExitCode);

  OpenUnit(kResultsUnit, "RESULTS.TXT", OpenStatus::Unknown);
}

}  // namespace kova
