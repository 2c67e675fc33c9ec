// The first half of the analysis: the four questions, the data file, the group file and
// the opening of the results file.
#pragma once

#include <string_view>

#include "inputs/analysis_data.h"

namespace kova {

constexpr int kResultsUnit = 2;

// Asks for the data file, reads it, asks for the seed, the number of randomizations and the
// group file, reads that, checks the group numbers and opens "RESULTS.TXT" on unit 2. A
// missing input file or a group number out of range ends the run with exit code 1; a seed
// whose random numbers repeat within the run is warned of on the error stream.
//
// A CSV community table named at the first prompt, as R writes one, is read as the options
// of `program` read one: once the other three answers are given, the table and the groups
// file (a CSV by its name, group numbers otherwise) are read with every check, and a fault
// ends the run with its one line on the error stream and exit code 2.
void RunDialogue(AnalysisData& data, std::string_view program);

// The dialogue of a run whose answers were given beforehand and whose files have been read:
// the four prompts as a script that pipes in the answers sees them, then "RESULTS.TXT" is
// opened on unit 2.
void RunAnsweredDialogue();

}  // namespace kova
