#include "inputs/csv_tables.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <unordered_set>

#include "inputs/checked_data_files.h"
#include "inputs/csv_records.h"
#include "inputs/number_forms.h"
#include "textio/numeric_conversion.h"

namespace kova {
namespace {

constexpr std::int32_t kLargestGroup = std::numeric_limits<std::int32_t>::max();

// Sites of a group file of numbers kept without a look at the community's length.
constexpr std::int64_t kSitesKeptUnbounded = std::int64_t{1} << 20;

// The line feeds of a file, plus one: no more rows than that fit in it. 0 when it cannot be
// read, which the reading of the community reports.
std::int64_t LineCount(const std::string& fileName) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) return 0;
  std::int64_t lines = 1;
  char block[1 << 16];
  for (std::size_t read; (read = std::fread(block, 1, sizeof block, file)) > 0;)
    lines += std::count(block, block + read, '\n');
  std::fclose(file);
  return lines;
}

InputFault EmptyFileFault(const CsvRecords& records, const std::string& expected) {
  if (records.Fault()) return *records.Fault();
  return {records.FileName(), "an empty file", expected};
}

InputFault SiteAgainFault(const std::string& fileName, std::string_view name, std::int64_t line,
                          std::int64_t firstLine) {
  return {AtLine(fileName, line),
          "site " + Quoted(name) + " again, first on line " + std::to_string(firstLine),
          "each site once"};
}

// How R prints a number: at most 15 significant digits, no trailing zeros (1, 2.5, 1e+05).
std::string NumberAsR(double value) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%.15g", value);
  return std::string(text, static_cast<std::size_t>(length));
}

// Numbers the groups as R's factor() numbers the levels of the column read.csv makes of the
// labels: labels that all read as numbers make a column of numbers, whose levels are the
// distinct numbers in increasing order (1 and 1.0 are one level, named as R prints it); any
// other label makes a column of text, whose levels are the distinct labels in byte order, as
// R sorts them in the C locale. Levels that are the numbers 1 to G themselves are the group
// numbers and need no labels.
void NumberGroups(const std::vector<std::string>& labels, char decimalMark,
                  SiteGrouping& grouping) {
  std::vector<double> numbers;
  numbers.reserve(labels.size());
  for (const std::string& label : labels) {
    const auto number = CsvDouble(label, decimalMark);
    if (!number) break;
    numbers.push_back(*number == 0.0 ? 0.0 : *number);  // -0 and 0 are one level
  }

  std::vector<std::int32_t> groups(labels.size());
  if (numbers.size() == labels.size()) {
    std::map<double, std::int32_t> levels;
    for (const double number : numbers)
      levels.emplace(number, 0);
    bool theirOwnNumbers = true;
    std::int32_t level = 0;
    for (auto& [number, group] : levels) {
      group = ++level;
      theirOwnNumbers = theirOwnNumbers && number == group;
      grouping.groupLabels.push_back(NumberAsR(number));
    }
    if (theirOwnNumbers) grouping.groupLabels.clear();
    for (std::size_t site = 0; site < labels.size(); ++site)
      grouping.sites[site].group = levels[numbers[site]];
    grouping.groupCount = level;
  } else {
    std::map<std::string, std::int32_t> levels;
    for (const std::string& label : labels)
      levels.emplace(label, 0);
    std::int32_t level = 0;
    for (auto& [label, group] : levels) {
      group = ++level;
      grouping.groupLabels.push_back(label);
    }
    for (std::size_t site = 0; site < labels.size(); ++site)
      grouping.sites[site].group = levels[labels[site]];
    grouping.groupCount = level;
  }
  grouping.groupCountSource = std::to_string(grouping.groupCount) + " labels";
}

}  // namespace

std::optional<InputFault> ReadCsvGrouping(const std::string& fileName, SiteGrouping& grouping) {
  grouping = SiteGrouping{};
  grouping.fileName = fileName;
  grouping.byName = true;
  CsvRecords records(fileName);
  CsvRecord record;
  const std::string twoFields = "2 fields: the site's name and its group label";
  if (!records.Next(record)) {
    return EmptyFileFault(records, "a header, then " + twoFields + " on each row");
  }
  if (record.fields.size() != 2) {
    return InputFault{AtLine(fileName, record.line),
                      "a header of " + std::to_string(record.fields.size()) + " fields", twoFields};
  }
  std::unordered_map<std::string, std::int64_t> firstLines;
  std::vector<std::string> labels;
  while (records.Next(record)) {
    if (record.fields.size() != 2) {
      return InputFault{AtLine(fileName, record.line),
                        std::to_string(record.fields.size()) + " fields", twoFields};
    }
    const std::string_view name = record.fields[0];
    const std::string_view label = record.fields[1];
    if (name.empty()) {
      return InputFault{AtLine(fileName, record.line), "an empty site name",
                        "the site's name in the first field"};
    }
    // R writes NA for a site whose group is not known.
    if (label.empty() || label == "NA") {
      return InputFault{AtLine(fileName, record.line),
                        (label.empty() ? std::string("an empty group label") : Quoted(label)) +
                            " for site " + Quoted(name),
                        "a group label for every site"};
    }
    const auto [first, isNew] = firstLines.emplace(std::string(name), record.line);
    if (!isNew) return SiteAgainFault(fileName, name, record.line, first->second);
    grouping.sites.push_back({std::string(name), 0, record.line});
    labels.emplace_back(label);
  }
  if (records.Fault()) return records.Fault();
  if (labels.empty()) {
    return InputFault{AtLine(fileName, record.line), "no rows after the header",
                      "a row for each site"};
  }
  NumberGroups(labels, records.Separator() == ';' ? ',' : '.', grouping);
  return std::nullopt;
}

std::optional<InputFault> ReadNumberedGrouping(const std::string& fileName,
                                               const std::string& communityFile,
                                               SiteGrouping& grouping) {
  grouping = SiteGrouping{};
  grouping.fileName = fileName;
  GroupFileNumbers groups;
  if (auto fault = ReadGroupNumbers(fileName, kLargestGroup, "", groups)) return fault;
  if (groups.count == 0) return GroupCountFault(fileName, groups, 1);
  // Repeat counts let a few bytes stand for billions of sites: no more sites than the
  // community has lines are kept.
  if (groups.count > kSitesKeptUnbounded) {
    const std::int64_t lines = LineCount(communityFile);
    if (groups.count > lines) {
      const GroupNumberRun& beyond = groups.RunOfSite(lines);
      return InputFault{AtLine(fileName, beyond.line),
                        Quoted(beyond.text) + ", a group number beyond the " +
                            std::to_string(lines) + " lines of " + communityFile,
                        "one group number for each row of " + communityFile};
    }
  }
  grouping.sites.reserve(static_cast<std::size_t>(groups.count));
  for (const GroupNumberRun& run : groups.runs) {
    for (std::int64_t k = 0; k < run.count; ++k)
      grouping.sites.push_back({"", run.group, run.line});
    grouping.groupCount = std::max(grouping.groupCount, run.group);
  }
  grouping.groupCountSource = "the largest group number here";
  return std::nullopt;
}

namespace {

// Which site of the grouping a community row is, by its name or by its position.
class SiteMatcher {
 public:
  explicit SiteMatcher(const SiteGrouping& grouping)
      : grouping_(grouping), communityLines_(grouping.sites.size(), 0) {
    if (!grouping.byName) return;
    for (std::size_t site = 0; site < grouping.sites.size(); ++site)
      indexByName_.emplace(grouping.sites[site].name, site);
  }

  // The grouping's site for row `row` (from 0) of the community, or a fault.
  std::optional<InputFault> Match(const std::string& communityFile, const CsvRecord& record,
                                  std::size_t row, std::size_t& site) {
    const std::string_view name = record.fields[0];
    if (!grouping_.byName) {
      if (row >= grouping_.sites.size()) {
        return InputFault{AtLine(communityFile, record.line),
                          "site " + Quoted(name) + ", beyond the " +
                              std::to_string(grouping_.sites.size()) + " group numbers of " +
                              grouping_.fileName,
                          "one group number for each site"};
      }
      site = row;
      return std::nullopt;
    }
    const auto found = indexByName_.find(std::string(name));
    if (found == indexByName_.end()) {
      return InputFault{AtLine(communityFile, record.line),
                        "site " + Quoted(name) + ", which " + grouping_.fileName + " does not name",
                        "every site of the community in the groups file"};
    }
    site = found->second;
    if (communityLines_[site] != 0) {
      return SiteAgainFault(communityFile, name, record.line, communityLines_[site]);
    }
    communityLines_[site] = record.line;
    return std::nullopt;
  }

  // Once the community is read: the fault of a site of the grouping it did not have.
  std::optional<InputFault> Unmatched(const std::string& communityFile, std::size_t rows) const {
    if (rows == grouping_.sites.size()) return std::nullopt;
    if (!grouping_.byName) {
      return InputFault{grouping_.fileName,
                        std::to_string(grouping_.sites.size()) + " group numbers for the " +
                            std::to_string(rows) + " sites of " + communityFile,
                        "one group number for each site"};
    }
    for (std::size_t site = 0; site < grouping_.sites.size(); ++site) {
      if (communityLines_[site] != 0) continue;
      const SiteGrouping::Site& missing = grouping_.sites[site];
      return InputFault{
          AtLine(grouping_.fileName, missing.line),
          "site " + Quoted(missing.name) + ", which " + communityFile + " does not have",
          "only the sites of the community"};
    }
    return std::nullopt;
  }

 private:
  const SiteGrouping& grouping_;
  std::unordered_map<std::string, std::size_t> indexByName_;
  std::vector<std::int64_t> communityLines_;  // the row that matched each site, 0 if none
};

// A header that is not one of species names points at a table written another way: a table
// written with species as rows (its header names the sites), or one written without its
// header (its first line is a site's row of numbers).
std::optional<InputFault> HeaderFault(const std::string& fileName, const CsvRecord& header,
                                      char separator, const SiteGrouping& grouping) {
  const auto names = header.fields.begin() + 1;
  const auto count = static_cast<std::size_t>(header.fields.end() - names);
  if (grouping.byName) {
    std::unordered_set<std::string_view> sites;
    for (const SiteGrouping::Site& site : grouping.sites)
      sites.insert(site.name);
    const std::unordered_set<std::string_view> distinct(names, header.fields.end());
    const auto siteNames = static_cast<std::size_t>(
        std::count_if(distinct.begin(), distinct.end(),
                      [&sites](const auto& name) { return sites.contains(name); }));
    if (distinct.size() == count && siteNames * 10 >= count * 9) {
      return InputFault{AtLine(fileName, header.line),
                        "a header of the sites of " + grouping.fileName + " (" +
                            Quoted(header.fields[1]) +
                            ", ...), as a table with species as rows has",
                        "sites as rows and species as columns, as write.csv writes a community "
                        "data frame (t() turns the table in R)"};
    }
  }
  const char decimalMark = separator == ';' ? ',' : '.';
  const bool numbers = std::all_of(names, header.fields.end(), [decimalMark](const auto& field) {
    return CsvNumber(field, decimalMark).has_value();
  });
  if (!numbers) return std::nullopt;
  return InputFault{AtLine(fileName, header.line),
                    "numbers where the header belongs (" + Quoted(header.fields[0]) + ", " +
                        Quoted(header.fields[1]) + ", ...), as a site's row has",
                    "a first line of species names after the column of site names, as write.csv "
                    "writes it"};
}

}  // namespace

std::optional<InputFault> ReadCsvCommunity(const std::string& fileName,
                                           const SiteGrouping& grouping, AnalysisData& data) {
  CsvRecords records(fileName);
  CsvRecord header;
  if (!records.Next(header)) {
    return EmptyFileFault(records, "a header of species names after the column of site names");
  }
  const std::size_t fields = header.fields.size();
  const std::int64_t headerLine = header.line;
  if (fields < 2) {
    return InputFault{AtLine(fileName, header.line), "a header of 1 field",
                      "the column of site names, then at least one species name"};
  }
  if (auto fault = HeaderFault(fileName, header, records.Separator(), grouping)) return fault;
  data.speciesCount = static_cast<std::int32_t>(fields - 1);
  data.siteCount = static_cast<std::int32_t>(grouping.sites.size());
  data.groupCount = grouping.groupCount;
  AllocateArrays(data);
  data.speciesNames.assign(header.fields.begin() + 1, header.fields.end());
  data.groupLabels = grouping.groupLabels;

  // write.csv2 writes a decimal comma in a table separated by semicolons.
  const char decimalMark = records.Separator() == ';' ? ',' : '.';
  SiteMatcher matcher(grouping);
  CsvRecord record;
  std::size_t rows = 0;
  for (; records.Next(record); ++rows) {
    if (record.fields.size() != fields) {
      return InputFault{
          AtLine(fileName, record.line), std::to_string(record.fields.size()) + " fields",
          std::to_string(fields) + " fields, as the header has: the site's name and " +
              std::to_string(fields - 1) + " species"};
    }
    const std::string_view name = record.fields[0];
    if (name.empty()) {
      return InputFault{AtLine(fileName, record.line), "an empty site name",
                        "the site's name in the first field"};
    }
    std::size_t site = 0;
    if (auto fault = matcher.Match(fileName, record, rows, site)) return fault;
    data.siteGroups.Data()[rows] = grouping.sites[site].group;
    data.siteNames.emplace_back(name);
    // A row of the table is a site: a column of the species-by-sites table.
    float* abundance = data.abundanceMatrix.Data() + rows * (fields - 1);
    for (std::size_t species = 1; species < fields; ++species) {
      const std::string_view value = record.fields[species];
      if (SmallCount(value, abundance[species - 1])) continue;
      const auto number = CsvNumber(value, decimalMark);
      if (!number || *number < 0.0f) {
        return InputFault{AtLine(fileName, record.line),
                          (value.empty() ? std::string("an empty field") : Quoted(value)) +
                              " for species " + Quoted(data.speciesNames[species - 1]) +
                              " at site " + Quoted(name),
                          number ? kAbundanceExpected : "a number, such as 3, 0.5 or 2.5e-1"};
      }
      abundance[species - 1] = *number;
    }
  }
  if (records.Fault()) return records.Fault();
  if (rows == 0) {
    return InputFault{AtLine(fileName, headerLine), "no rows after the header",
                      "a row for each site"};
  }
  return matcher.Unmatched(fileName, rows);
}

}  // namespace kova
