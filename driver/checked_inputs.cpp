#include "driver/checked_inputs.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "driver/checked_data_files.h"
#include "driver/csv_tables.h"
#include "driver/group_check.h"
#include "driver/seed_check.h"

namespace kova {
namespace {

std::optional<InputFault> ReadDataFileAndGroups(const RunRequest& request, AnalysisData& data) {
  if (auto fault = ReadCheckedDataFile(request.tableFile, data)) return fault;
  if (auto fault = ReadCheckedGroupFile(request.groupsFile, data)) return fault;
  const std::vector<std::int32_t> groups(data.siteGroups.Data(),
                                         data.siteGroups.Data() + data.siteGroups.Size());
  return GroupWithoutSitesFault(groups, data.groupCount, request.groupsFile,
                                "the number of groups the data file gives");
}

// The grouping comes first: it gives the number of sites, so the arrays can be allocated
// before the community's rows are read into them.
std::optional<InputFault> ReadCsvTableAndGroups(const RunRequest& request, AnalysisData& data) {
  SiteGrouping grouping;
  auto fault = IsCsvFileName(request.groupsFile) ? ReadCsvGrouping(request.groupsFile, grouping)
                                                 : ReadNumberedGrouping(request.groupsFile, grouping);
  if (fault) return fault;
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

}  // namespace

bool IsCsvFileName(std::string_view fileName) {
  constexpr std::string_view kExtension = ".csv";
  if (fileName.size() < kExtension.size()) return false;
  return std::equal(kExtension.begin(), kExtension.end(), fileName.end() - kExtension.size(),
                    [](char expected, char given) {
                      return expected == std::tolower(static_cast<unsigned char>(given));
                    });
}

std::optional<InputFault> ReadCheckedInputs(const RunRequest& request, AnalysisData& data) {
  data.randomSeed = request.randomSeed;
  data.randomizationCount = request.randomizationCount;
  auto fault = request.tableForm == TableForm::Csv ? ReadCsvTableAndGroups(request, data)
                                                   : ReadDataFileAndGroups(request, data);
  if (fault) return fault;
  DerivePresence(data);
  return SeedFault(data);
}

}  // namespace kova
