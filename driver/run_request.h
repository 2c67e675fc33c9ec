// A run whose answers are given beforehand, as the programs' options give them.
#pragma once

#include <optional>
#include <string>

#include "driver/randomization_test.h"
#include "inputs/analysis_data.h"
#include "inputs/checked_inputs.h"
#include "inputs/input_fault.h"
#include "randomization/combinations.h"

namespace kova {

struct RunRequest : InputFiles {
  ConsoleSteps consoleSteps = ConsoleSteps::Shown;
  // The program whose options asked for the run, as its faults name it.
  std::string programName = "kova-cli";
  AssociationRequest associations;
};

// Reads both files into `data` and checks them, the seed, and the room "RESULTS.TXT" will
// need in the working folder; returns the first fault. Nothing is written, whatever the
// outcome.
std::optional<InputFault> ReadRunInputs(const RunRequest& request, AnalysisData& data);

}  // namespace kova
