// The data file and the group file read for a run started with options: every value is
// checked as it is read, and nothing the file holds is left unread, so a fault the
// dialogue's reader would pass over (a row longer than the header says, a word where a
// number belongs, values after the last row) is found with its line. A file that passes
// fills the data exactly as the dialogue's reader fills it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "inputs/analysis_data.h"
#include "inputs/input_fault.h"

namespace kova {

// The title line, the three counts, then SpeciesCount rows of SiteCount abundances, each
// row starting on a line of its own. Allocates the arrays for the counts.
std::optional<InputFault> ReadCheckedDataFile(const std::string& fileName, AnalysisData& data);

// Equal group numbers in a row, as a repeat count (3*1) writes them, kept as one: a file of a
// few bytes can give billions.
struct GroupNumberRun {
  std::int32_t group = 0;
  std::int64_t count = 1;
  std::int64_t line = 0;
  std::string text;
};

struct GroupFileNumbers {
  std::vector<GroupNumberRun> runs;  // in site order
  std::int64_t count = 0;            // the numbers the runs hold
  std::int64_t lastLine = 0;         // the line where the numbers end

  // The run that holds the number of site `site` (from 0, below count).
  const GroupNumberRun& RunOfSite(std::int64_t site) const;
  // Writes the first `sites` numbers to `siteGroups`.
  void CopyTo(std::int32_t* siteGroups, std::int64_t sites) const;
};

// Every group number of a group file, each a whole number from 1 to `largestGroup`; a
// slash ends them. `largestGroupSource` says where that limit comes from, for a fault.
std::optional<InputFault> ReadGroupNumbers(const std::string& fileName, std::int32_t largestGroup,
                                           const std::string& largestGroupSource,
                                           GroupFileNumbers& groups);

// The fault of a group file whose numbers are not one for each of `siteCount` sites.
std::optional<InputFault> GroupCountFault(const std::string& fileName,
                                          const GroupFileNumbers& groups, std::int64_t siteCount);

// A group file for the data file read before it: one group number from 1 to GroupCount for
// each site, into SiteGroups.
std::optional<InputFault> ReadCheckedGroupFile(const std::string& fileName, AnalysisData& data);

}  // namespace kova
