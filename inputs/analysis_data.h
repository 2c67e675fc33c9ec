// The data every stage of the analysis shares: the counts, the tables read from the input
// files, the grouping of the sites and the current indicator-value table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "inputs/zeroed_array.h"

namespace kova {

constexpr int kIndexTypeCount = 5;
constexpr std::size_t kFileNameLength = 100;

// The codes of IndexType 1 to 5, four characters each.
constexpr std::array<std::string_view, kIndexTypeCount> kTypeCode = {"APCF", "ACF ", "ASF ", "PCF ",
                                                                     "PSF "};

struct AnalysisData {
  std::int32_t speciesCount = 0;
  std::int32_t siteCount = 0;
  std::int32_t groupCount = 0;

  // Species by sites and species by groups, column by column with the species fastest.
  ZeroedArray<float> abundanceMatrix;
  ZeroedArray<std::int32_t> siteGroups;
  ZeroedArray<std::int32_t> groupSizes;
  ZeroedArray<float> indexTable;

  std::int32_t randomSeed = 0;
  std::int32_t randomizationCount = 0;
  char fileName[kFileNameLength] = {};
  char titleLine[4] = {};

  // What the CSV files call the species (in species order) and the groups (by group number,
  // from 1): empty when the files only number them, as data files and group numbers do.
  std::vector<std::string> speciesNames;
  std::vector<std::string> groupLabels;
  std::vector<std::string> siteNames;  // in site order; empty unless a CSV table named them

  // With blocks: the sites of each block (from 0, in site order), the blocks in the order of
  // their numbers; the shuffles keep each site's group within its block. Empty without.
  std::vector<std::vector<std::int32_t>> siteBlocks;

  // The names of the table and the grouping as they were given, for what describes the run.
  std::string tableFileName;
  std::string groupsFileName;
};

// Allocates the four arrays for the counts, in the order abundances, site groups, group
// sizes, index table. A failure ends the run with the allocation report. The presences are
// no table of their own: the steps read them from the abundances (present where greater
// than 0), so a run holds one table of the size of the data.
void AllocateArrays(AnalysisData& data);

}  // namespace kova
