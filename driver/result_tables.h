// The run's outcome as CSV tables for R and spreadsheets: the per-species table and the
// community summary. Values are on the 0-1 scale of the index tables, written with the
// fewest digits that read back as the same float (or double, for p-values); NaN and
// infinities as R writes them (NaN, Inf, -Inf). Text fields are quoted as write.csv quotes
// them; rows end with a line feed.
#pragma once

#include <string>

#include "driver/run_outcome.h"

namespace kova {

// One row per species: its number, its name, and for each IndexType the group of its
// maximum (with the group's label when the groups have labels), that maximum (for APCF also
// its two factors at the group), its p-value and the p-values adjusted by Holm's and by
// Benjamini and Hochberg's rule over the species. Needs the outcome's species.
std::string SpeciesTableText(const RunOutcome& outcome);

// One row per IndexType: the observed sum, the mean, the standard deviation and the z-score
// of the final table, and the p-value of the observed sum.
std::string CommunitySummaryText(const RunOutcome& outcome);

// The code of an IndexType (1 to 5) without its padding blanks: APCF, ACF, ASF, PCF, PSF.
std::string TrimmedTypeCode(int indexType);

// The shortest text that reads back as `value`, with NaN, Inf and -Inf as R writes them.
std::string ShortestText(float value);
std::string ShortestText(double value);

}  // namespace kova
