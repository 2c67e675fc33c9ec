// Reading the two input files from unit 1, once each has been opened there.
#pragma once

#include "inputs/analysis_data.h"

namespace kova {

constexpr int kInputUnit = 1;

// A title line, the three counts, then one row of abundances per species, each row starting
// on a line of its own; allocates the arrays for the counts and closes the unit.
void ReadDataFile(AnalysisData& data);

// The group number of every site, in site order over as many lines as needed; closes the
// unit.
void ReadGroupFile(AnalysisData& data);

}  // namespace kova
