// A run's answers given beforehand, as kova-cli's options give them, and the reading of its
// files with every check made before anything is written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "inputs/analysis_data.h"
#include "inputs/input_fault.h"

namespace kova {

enum class TableForm {
  DataFile,  // the dialogue's data file: species rows under a header of counts
  Csv,       // a community table: a header of species names, then a row per site
};

// The files of a run and its answers, given beforehand.
struct InputFiles {
  std::string tableFile;
  TableForm tableForm = TableForm::DataFile;
  // Numbers in site order, or with a CSV table also a CSV of site names and group labels.
  std::string groupsFile;
  std::int32_t randomSeed = 0;
  std::int32_t randomizationCount = 0;
  // With a CSV table: a CSV of site names and block labels; every shuffle then keeps each
  // site's group within its block.
  std::string blocksFile;
};

// A groups file is read as CSV when its name ends in ".csv", in any case.
bool IsCsvFileName(std::string_view fileName);

// Whether the file holds a CSV community table rather than a data file, whatever its name:
// its first line is a header of fields separated by commas or semicolons, and its second line
// is not a data file's counts (one to three whole numbers separated by blanks, or exactly
// three separated by commas where the header has another number of fields). False for a file
// that cannot be read.
bool HoldsCsvCommunity(const std::string& fileName);

// Reads both files into `data` and checks them and the seed; returns the first fault.
// Nothing is written, whatever the outcome.
std::optional<InputFault> ReadCheckedInputs(const InputFiles& request, AnalysisData& data);

}  // namespace kova
