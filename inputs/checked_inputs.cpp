#include "inputs/checked_inputs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <unordered_map>
#include <vector>

#include "inputs/checked_data_files.h"
#include "inputs/csv_tables.h"
#include "inputs/group_check.h"
#include "inputs/number_forms.h"
#include "inputs/seed_check.h"

namespace kova {
namespace {

std::optional<InputFault> ReadDataFileAndGroups(const InputFiles& request, AnalysisData& data) {
  if (auto fault = ReadCheckedDataFile(request.tableFile, data)) return fault;
  if (auto fault = ReadCheckedGroupFile(request.groupsFile, data)) return fault;
  const std::vector<std::int32_t> groups(data.siteGroups.Data(),
                                         data.siteGroups.Data() + data.siteGroups.Size());
  return GroupWithoutSitesFault(groups, data.groupCount, request.groupsFile,
                                "the number of groups the data file gives");
}

// The grouping comes first: it gives the number of sites, so the arrays can be allocated
// before the community's rows are read into them.
std::optional<InputFault> ReadCsvTableAndGroups(const InputFiles& request, AnalysisData& data) {
  SiteGrouping grouping;
  auto fault = IsCsvFileName(request.groupsFile) ? ReadCsvGrouping(request.groupsFile, grouping)
                                                 : ReadNumberedGrouping(request.groupsFile, request.tableFile, grouping);
  if (fault) return fault;
  if (grouping.groupCount < 2) {
    const std::string group = grouping.groupLabels.empty()
                                  ? "group " + std::to_string(grouping.groupCount)
                                  : "one group (" + Quoted(grouping.groupLabels.front()) + ")";
    return InputFault{request.groupsFile, "every site in " + group,
                      "sites in 2 groups or more, since the test compares groups"};
  }
  std::vector<std::int32_t> groups;
  groups.reserve(grouping.sites.size());
  for (const SiteGrouping::Site& site : grouping.sites)
    groups.push_back(site.group);
  if (auto empty = GroupWithoutSitesFault(groups, grouping.groupCount, request.groupsFile,
                                          grouping.groupCountSource)) {
    return empty;
  }
  return ReadCsvCommunity(request.tableFile, grouping, data);
}

// A species' group totals, and the deviations from their means, are kept in single
// precision: a sum beyond its range makes the values infinite or NaN and the species an
// indicator of the wrong group. Every grouping of the steps must stay in range, so no species'
// abundances may sum to more than half the largest float (a deviation sum is at most twice
// the total).
std::optional<InputFault> AbundanceRangeFault(const InputFiles& request,
                                              const AnalysisData& data) {
  constexpr double kLargestTotal = std::numeric_limits<float>::max() / 2.0;
  const auto species = static_cast<std::size_t>(data.speciesCount);
  const float* abundance = data.abundanceMatrix.Data();
  std::vector<double> totals(species);
  for (std::int64_t k = 0; k < data.siteCount; ++k) {
    const float* column = abundance + static_cast<std::size_t>(k) * species;
    for (std::size_t i = 0; i < species; ++i)
      totals[i] += column[i];
  }
  const auto beyond = std::find_if(totals.begin(), totals.end(),
                                   [](double total) { return total > kLargestTotal; });
  if (beyond == totals.end()) return std::nullopt;

  // The group of the largest share of the species' abundance names where it overflows.
  const auto i = static_cast<std::size_t>(beyond - totals.begin());
  std::vector<double> groupTotals(static_cast<std::size_t>(data.groupCount));
  for (std::int64_t k = 0; k < data.siteCount; ++k) {
    groupTotals[static_cast<std::size_t>(data.siteGroups.Data()[k] - 1)] +=
        abundance[static_cast<std::size_t>(k) * species + i];
  }
  const auto largest = static_cast<std::size_t>(
      std::max_element(groupTotals.begin(), groupTotals.end()) - groupTotals.begin());
  const std::string name =
      i < data.speciesNames.size() ? Quoted(data.speciesNames[i]) : std::to_string(i + 1);
  std::string group = "group " + std::to_string(largest + 1);
  if (largest < data.groupLabels.size()) group += " (" + Quoted(data.groupLabels[largest]) + ")";
  const auto shown = [](double sum) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", sum);
    return std::string(text);
  };
  return InputFault{request.tableFile,
                    "abundances of species " + name + " that sum to " +
                        shown(groupTotals[largest]) + " in " + group + ", " + shown(*beyond) +
                        " at all sites, beyond the range of the single-precision sums the "
                        "tables keep",
                    "abundances whose sum for each species stays below 1.7e+38"};
}

// The blocks of a CSV of site names and block labels, numbered as groups are: every site of
// the community in one block, and every block with two sites or more to shuffle among.
std::optional<InputFault> ReadBlocks(const std::string& fileName, AnalysisData& data) {
  SiteGrouping blocks;
  if (auto fault = ReadCsvGrouping(fileName, blocks)) return fault;
  std::unordered_map<std::string, const SiteGrouping::Site*> blockOf;
  for (const SiteGrouping::Site& site : blocks.sites)
    blockOf.emplace(site.name, &site);
  data.siteBlocks.assign(static_cast<std::size_t>(blocks.groupCount), {});
  for (std::size_t k = 0; k < data.siteNames.size(); ++k) {
    const auto found = blockOf.find(data.siteNames[k]);
    if (found == blockOf.end()) {
      return InputFault{fileName, "no block for site " + Quoted(data.siteNames[k]),
                        "a block for every site of " + data.tableFileName};
    }
    data.siteBlocks[static_cast<std::size_t>(found->second->group - 1)].push_back(
        static_cast<std::int32_t>(k));
    blockOf.erase(found);
  }
  if (!blockOf.empty()) {
    const SiteGrouping::Site* extra = blockOf.begin()->second;
    for (const auto& [name, site] : blockOf) {
      if (site->line < extra->line) extra = site;
    }
    return InputFault{AtLine(fileName, extra->line),
                      "site " + Quoted(extra->name) + ", which " + data.tableFileName +
                          " does not have",
                      "only the sites of the community"};
  }
  for (std::size_t block = 0; block < data.siteBlocks.size(); ++block) {
    if (data.siteBlocks[block].size() >= 2) continue;
    const std::string label = block < blocks.groupLabels.size() ? blocks.groupLabels[block]
                                                                : std::to_string(block + 1);
    return InputFault{fileName,
                      "block " + Quoted(label) + " of one site (" +
                          Quoted(data.siteNames[static_cast<std::size_t>(data.siteBlocks[block][0])]) +
                          ")",
                      "blocks of 2 sites or more, among which the groups are shuffled"};
  }
  return std::nullopt;
}

}  // namespace

bool IsCsvFileName(std::string_view fileName) {
  constexpr std::string_view kExtension = ".csv";
  if (fileName.size() < kExtension.size()) return false;
  return std::equal(kExtension.begin(), kExtension.end(), fileName.end() - kExtension.size(),
                    [](char expected, char given) {
                      return expected == std::tolower(static_cast<unsigned char>(given));
                    });
}

namespace {

// The fields of a line cut at `separator` outside double quotes.
std::size_t FieldCount(std::string_view line, char separator) {
  std::size_t fields = 1;
  bool quoted = false;
  for (const char character : line) {
    if (character == '"') quoted = !quoted;
    if (!quoted && character == separator) ++fields;
  }
  return fields;
}

// Whole numbers separated by `separators` (and nothing else but blanks), and how many.
std::size_t WholeNumbersIn(std::string_view line, std::string_view separators) {
  std::size_t count = 0;
  std::size_t position = 0;
  while (position < line.size()) {
    const std::size_t start = line.find_first_not_of(separators, position);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(separators, start), line.size());
    if (!WholeNumber(line.substr(start, end - start))) return 0;
    ++count;
    position = end;
  }
  return count;
}

}  // namespace

bool HoldsCsvCommunity(const std::string& fileName) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) return false;
  std::string lines[2];
  for (std::string& line : lines) {
    for (int character; (character = std::fgetc(file)) != EOF && character != '\n';) {
      if (character != '\r') line += static_cast<char>(character);
    }
  }
  std::fclose(file);
  const std::string_view header = lines[0];
  const char separator = FieldCount(header, ',') > 1 ? ',' : ';';
  const std::size_t headerFields = FieldCount(header, separator);
  if (headerFields < 2) return false;
  const std::size_t counts = WholeNumbersIn(lines[1], " \t");
  if (counts >= 1 && counts <= 3) return false;
  if (WholeNumbersIn(lines[1], " \t,") == 3 && headerFields != 3) return false;
  return true;
}

std::optional<InputFault> ReadCheckedInputs(const InputFiles& request, AnalysisData& data) {
  data.randomSeed = request.randomSeed;
  data.randomizationCount = request.randomizationCount;
  data.tableFileName = request.tableFile;
  data.groupsFileName = request.groupsFile;
  auto fault = request.tableForm == TableForm::Csv ? ReadCsvTableAndGroups(request, data)
                                                   : ReadDataFileAndGroups(request, data);
  if (fault) return fault;
  if (!request.blocksFile.empty()) {
    if (auto blocks = ReadBlocks(request.blocksFile, data)) return blocks;
  }
  if (auto range = AbundanceRangeFault(request, data)) return range;
  return SeedFault(data);
}

}  // namespace kova
