// The run's outcome as CSV tables for R and spreadsheets: the per-species table and the
// community summary. Values are on the 0-1 scale of the index tables. The species' values,
// computed in double precision, are written with 15 significant digits as R writes them; the
// summary's single-precision values and the p-values with the fewest digits that read back as
// the same float or double. NaN and infinities as R writes them (NaN, Inf, -Inf), missing
// values as NA. Text fields are quoted as write.csv quotes them; rows end with a line feed.
#pragma once

#include <string>
#include <vector>

#include "randomization/run_outcome.h"

namespace kova {

// One IndexType's p-values over the species and their two adjustments, by species; NaN for
// a species absent everywhere.
struct SpeciesPValues {
  std::vector<double> p;
  std::vector<double> holm;
  std::vector<double> benjaminiHochberg;
};

// The p-values of an IndexType (1 to 5) as the species table has them. Needs the outcome's
// species.
SpeciesPValues SpeciesPValuesOf(const RunOutcome& outcome, int indexType);

// One row per species: its number, its name, and for each IndexType the group of its
// maximum (with the group's label when the groups have labels), its value there (for APCF
// also its two factors), its p-value and the p-values adjusted by Holm's and by Benjamini and
// Hochberg's rule over the species. A species absent everywhere has NA in all of these and is
// left out of the adjustments. Needs the outcome's species.
std::string SpeciesTableText(const RunOutcome& outcome);

// One row per IndexType: the observed sum, the mean, the standard deviation and the z-score
// of the final table, and the p-value of the observed sum.
std::string CommunitySummaryText(const RunOutcome& outcome);

// The indicator species of each group, for the console: by group (its label, or its number),
// the species whose APCF group it is and whose APCF p-value is at most `alpha`, the strongest
// first, with A, B, the value and p; then how many species were tested (absent ones are not)
// and how many are listed. One line per element, without line ends. Needs the outcome's
// species.
std::vector<std::string> SpeciesReportLines(const RunOutcome& outcome, double alpha);

// The code of an IndexType (1 to 5) without its padding blanks: APCF, ACF, ASF, PCF, PSF.
std::string TrimmedTypeCode(int indexType);

// The shortest text that reads back as `value`, with NaN, Inf and -Inf as R writes them.
std::string ShortestText(float value);
std::string ShortestText(double value);

}  // namespace kova
