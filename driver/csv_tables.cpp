#include "driver/csv_tables.h"

#include <algorithm>
#include <limits>
#include <map>

#include "driver/checked_data_files.h"
#include "driver/csv_records.h"
#include "driver/number_forms.h"

namespace kova {
namespace {

constexpr std::int32_t kLargestGroup = std::numeric_limits<std::int32_t>::max();

InputFault EmptyFileFault(const InputLines& lines, const CsvRecords& records,
                          const std::string& expected) {
  if (records.Fault()) return *records.Fault();
  return {lines.FileName(), "an empty file", expected};
}

InputFault SiteAgainFault(const std::string& fileName, const std::string& name,
                          std::int64_t line, std::int64_t firstLine) {
  return {AtLine(fileName, line),
          "site " + Quoted(name) + " again, first on line " + std::to_string(firstLine),
          "each site once"};
}

// Whole-number labels are the group numbers; any other label makes every label a name,
// numbered in sorted order.
std::optional<InputFault> NumberGroups(const std::vector<std::string>& labels,
                                       SiteGrouping& grouping) {
  std::vector<std::optional<std::int64_t>> numbers;
  numbers.reserve(labels.size());
  for (const std::string& label : labels)
    numbers.push_back(WholeNumber(label));
  const bool wholeNumbers =
      std::all_of(numbers.begin(), numbers.end(), [](const auto& number) { return number; });

  if (wholeNumbers) {
    for (std::size_t site = 0; site < labels.size(); ++site) {
      const std::int64_t number = *numbers[site];
      const SiteGrouping::Site& named = grouping.sites[site];
      if (number < 1 || number > kLargestGroup) {
        return InputFault{AtLine(grouping.fileName, named.line),
                          Quoted(labels[site]) + " as the group of site " + Quoted(named.name),
                          "whole-number labels from 1 to " + std::to_string(kLargestGroup) +
                              ", since they are the group numbers"};
      }
      grouping.sites[site].group = static_cast<std::int32_t>(number);
      grouping.groupCount = std::max(grouping.groupCount, grouping.sites[site].group);
    }
    grouping.groupCountSource =
        "whole-number labels are the group numbers, the largest here " +
        std::to_string(grouping.groupCount);
    return std::nullopt;
  }

  std::map<std::string, std::int32_t> levels;
  for (const std::string& label : labels)
    levels.emplace(label, 0);
  std::int32_t level = 0;
  for (auto& [label, number] : levels) {
    number = ++level;
    grouping.groupLabels.push_back(label);
  }
  for (std::size_t site = 0; site < labels.size(); ++site) {
    grouping.sites[site].group = levels[labels[site]];
  }
  grouping.groupCount = level;
  grouping.groupCountSource = std::to_string(level) + " labels";
  return std::nullopt;
}

}  // namespace

std::optional<InputFault> ReadCsvGrouping(const std::string& fileName, SiteGrouping& grouping) {
  grouping = SiteGrouping{};
  grouping.fileName = fileName;
  grouping.byName = true;
  InputLines lines(fileName);
  CsvRecords records(lines);
  CsvRecord record;
  const std::string twoFields = "2 fields: the site's name and its group label";
  if (!records.Next(record)) {
    return EmptyFileFault(lines, records, "a header, then " + twoFields + " on each row");
  }
  if (record.fields.size() != 2) {
    return InputFault{AtLine(fileName, record.line),
                      "a header of " + std::to_string(record.fields.size()) + " fields",
                      twoFields};
  }
  std::unordered_map<std::string, std::int64_t> firstLines;
  std::vector<std::string> labels;
  while (records.Next(record)) {
    if (record.fields.size() != 2) {
      return InputFault{AtLine(fileName, record.line),
                        std::to_string(record.fields.size()) + " fields", twoFields};
    }
    const std::string& name = record.fields[0];
    const std::string& label = record.fields[1];
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
    const auto [first, isNew] = firstLines.emplace(name, record.line);
    if (!isNew) return SiteAgainFault(fileName, name, record.line, first->second);
    grouping.sites.push_back({name, 0, record.line});
    labels.push_back(label);
  }
  if (records.Fault()) return records.Fault();
  if (labels.empty()) {
    return InputFault{AtLine(fileName, record.line), "no rows after the header",
                      "a row for each site"};
  }
  return NumberGroups(labels, grouping);
}

std::optional<InputFault> ReadNumberedGrouping(const std::string& fileName,
                                               SiteGrouping& grouping) {
  grouping = SiteGrouping{};
  grouping.fileName = fileName;
  GroupFileNumbers groups;
  if (auto fault = ReadGroupNumbers(fileName, kLargestGroup, "", groups)) return fault;
  if (groups.numbers.empty()) return GroupCountFault(fileName, groups, 1);
  for (const GroupNumber& number : groups.numbers) {
    grouping.sites.push_back({"", number.group, number.line});
    grouping.groupCount = std::max(grouping.groupCount, number.group);
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
    const std::string& name = record.fields[0];
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
    const auto found = indexByName_.find(name);
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
      return InputFault{AtLine(grouping_.fileName, missing.line),
                        "site " + Quoted(missing.name) + ", which " + communityFile +
                            " does not have",
                        "only the sites of the community"};
    }
    return std::nullopt;
  }

 private:
  const SiteGrouping& grouping_;
  std::unordered_map<std::string, std::size_t> indexByName_;
  std::vector<std::int64_t> communityLines_;  // the row that matched each site, 0 if none
};

}  // namespace

std::optional<InputFault> ReadCsvCommunity(const std::string& fileName,
                                           const SiteGrouping& grouping, AnalysisData& data) {
  InputLines lines(fileName);
  CsvRecords records(lines);
  CsvRecord header;
  if (!records.Next(header)) {
    return EmptyFileFault(lines, records,
                          "a header of species names after the column of site names");
  }
  const std::size_t fields = header.fields.size();
  if (fields < 2) {
    return InputFault{AtLine(fileName, header.line), "a header of 1 field",
                      "the column of site names, then at least one species name"};
  }
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
      return InputFault{AtLine(fileName, record.line),
                        std::to_string(record.fields.size()) + " fields",
                        std::to_string(fields) + " fields, as the header has: the site's name and " +
                            std::to_string(fields - 1) + " species"};
    }
    const std::string& name = record.fields[0];
    if (name.empty()) {
      return InputFault{AtLine(fileName, record.line), "an empty site name",
                        "the site's name in the first field"};
    }
    std::size_t site = 0;
    if (auto fault = matcher.Match(fileName, record, rows, site)) return fault;
    data.siteGroups.Data()[rows] = grouping.sites[site].group;
    // A row of the table is a site: a column of the species-by-sites table.
    float* abundance = data.abundanceMatrix.Data() + rows * (fields - 1);
    for (std::size_t species = 1; species < fields; ++species) {
      const std::string& value = record.fields[species];
      const auto number = CsvNumber(value, decimalMark);
      if (!number) {
        return InputFault{AtLine(fileName, record.line),
                          (value.empty() ? std::string("an empty field") : Quoted(value)) +
                              " for species " + Quoted(header.fields[species]) + " at site " +
                              Quoted(name),
                          "a number, such as 3, 0.5 or 2.5e-1"};
      }
      abundance[species - 1] = *number;
    }
  }
  if (records.Fault()) return records.Fault();
  if (rows == 0) {
    return InputFault{AtLine(fileName, header.line), "no rows after the header",
                      "a row for each site"};
  }
  return matcher.Unmatched(fileName, rows);
}

}  // namespace kova
