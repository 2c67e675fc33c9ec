#include "driver/dialogue.h"

#include <string>

#include "driver/run_request.h"
#include "inputs/group_check.h"
#include "inputs/input_files.h"
#include "inputs/seed_check.h"
#include "textio/free_format_input.h"
#include "textio/output_editing.h"
#include "textio/run_endings.h"
#include "textio/units.h"

namespace kova {
namespace {

// A failure of the analysis's own checks: the run stops, but the shell must see a failure.
constexpr int kInputFailureExitCode = 1;

constexpr std::string_view kDataFilePrompt = " ENTER INPUT FILENAME";
constexpr std::string_view kSeedPrompt = " enter random seed";
constexpr std::string_view kCountPrompt = " enter number of randomizations";
constexpr std::string_view kGroupFilePrompt = " ENTER INPUT FILENAME FOR GROUP MEMBERSHIPS";

void Prompt(std::string_view text) {
  WriteFreeFormat(kDefaultUnit, {text});
}

// Reads FileName and returns it without the blanks that pad it.
std::string ReadFileName(AnalysisData& data) {
  ReadFreeFormat(kDefaultUnit, {CharacterItem(data.fileName, kFileNameLength)});
  const std::string_view name(data.fileName, kFileNameLength);
  return std::string(name.substr(0, name.find_last_not_of(' ') + 1));
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

// The rest of the dialogue of a CSV community table: the answers first, then both files with
// the checks of a run with options.
void RunCsvDialogue(AnalysisData& data, std::string_view program) {
  RunRequest request;
  request.tableFile = data.tableFileName;
  request.tableForm = TableForm::Csv;
  request.programName = std::string(program);
  Prompt(kSeedPrompt);
  ReadFreeFormat(kDefaultUnit, {IntegerItem(request.randomSeed)});
  Prompt(kCountPrompt);
  ReadFreeFormat(kDefaultUnit, {IntegerItem(request.randomizationCount)});
  Prompt(kGroupFilePrompt);
  request.groupsFile = ReadFileName(data);
  if (const auto fault = ReadRunInputs(request, data)) ReportInputFault(*fault, program);
  OpenUnit(kResultsUnit, "RESULTS.TXT", OpenStatus::Unknown);
}

}  // namespace

void RunDialogue(AnalysisData& data, std::string_view program) {
  Prompt(kDataFilePrompt);
  data.tableFileName = ReadFileName(data);
  if (HoldsCsvCommunity(data.tableFileName)) {
    RunCsvDialogue(data, program);
    return;
  }
  OpenInputFile(data);
  ReadDataFile(data);

  Prompt(kSeedPrompt);
  ReadFreeFormat(kDefaultUnit, {IntegerItem(data.randomSeed)});
  Prompt(kCountPrompt);
  ReadFreeFormat(kDefaultUnit, {IntegerItem(data.randomizationCount)});
  // The draws a seed must get through are known once the count is.
  WarnOfSeedThatRepeats(data);

  Prompt(kGroupFilePrompt);
  data.groupsFileName = ReadFileName(data);
  OpenInputFile(data);
  ReadGroupFile(data);
  if (!GroupNumbersInRange(data)) StopRun(" ", kInputFailureExitCode);

  OpenUnit(kResultsUnit, "RESULTS.TXT", OpenStatus::Unknown);
}

void RunAnsweredDialogue() {
  for (const std::string_view prompt : {kDataFilePrompt, kSeedPrompt, kCountPrompt, kGroupFilePrompt}) {
    Prompt(prompt);
  }
  OpenUnit(kResultsUnit, "RESULTS.TXT", OpenStatus::Unknown);
}

}  // namespace kova
