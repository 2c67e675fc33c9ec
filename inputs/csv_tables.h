// A community table and a grouping of its sites as CSV files: the layout of R's write.csv
// of a community data frame (a header of species names after the column of site names,
// then one row per site: its name and its abundances) and of a data frame of site names and
// group labels. Sites are matched to their groups by name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "inputs/analysis_data.h"
#include "inputs/input_fault.h"

namespace kova {

// The grouping of the sites before the community is read: a group for each site, by name
// (a CSV groups file) or by position (a group file of numbers).
struct SiteGrouping {
  std::string fileName;
  bool byName = false;
  std::int32_t groupCount = 0;
  std::string groupCountSource;  // how the group count came about, for a fault
  // The label of each group by number, from 1; empty when the labels are the numbers.
  std::vector<std::string> groupLabels;

  struct Site {
    std::string name;       // empty for a group file of numbers
    std::int32_t group = 0;
    std::int64_t line = 0;  // in the groups file
  };
  std::vector<Site> sites;  // in the order of the groups file
};

// A groups CSV: a header, then each site's name and group label. The groups are numbered as
// R numbers the levels of a factor made from the column: labels that are all numbers in
// increasing numeric order (1, 2, 4, 5 are groups 1 to 4, labelled "1", "2", "4", "5"; 1 and
// 1.0 are one group), other labels in byte order, as R sorts them in the C locale.
std::optional<InputFault> ReadCsvGrouping(const std::string& fileName, SiteGrouping& grouping);

// A group file of numbers, one for each site in the order of the rows of `communityFile`;
// the group count is the largest number.
std::optional<InputFault> ReadNumberedGrouping(const std::string& fileName,
                                               const std::string& communityFile,
                                               SiteGrouping& grouping);

// The community CSV: its header gives SpeciesCount and the species' names, the grouping
// SiteCount, GroupCount and the group labels; allocates the arrays and fills AbundanceMatrix
// and SiteGroups, the sites in the order of the community's rows.
std::optional<InputFault> ReadCsvCommunity(const std::string& fileName,
                                           const SiteGrouping& grouping, AnalysisData& data);

}  // namespace kova
