#include "bench/bench_tables.h"

#include <random>

#include "inputs/input_files.h"
#include "textio/units.h"

namespace kova::bench {

void LoadExample(AnalysisData& data, const std::string& example) {
  data = AnalysisData{};
  const std::string folder = std::string(KOVA_EXAMPLES_DIR) + "/" + example + "/";
  OpenUnit(kInputUnit, folder + "data.txt", OpenStatus::Old);
  ReadDataFile(data);
  OpenUnit(kInputUnit, folder + "groups.txt", OpenStatus::Old);
  ReadGroupFile(data);
}

void GenerateTable(AnalysisData& data, std::int32_t species, std::int32_t sites,
                   std::int32_t groups, int occupied) {
  data = AnalysisData{};
  data.speciesCount = species;
  data.siteCount = sites;
  data.groupCount = groups;
  AllocateArrays(data);
  std::mt19937 random(static_cast<std::uint32_t>(species + sites));
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> count(1, 5);
  for (std::int64_t entry = 0; entry < data.abundanceMatrix.Size(); ++entry) {
    if (percent(random) < occupied) {
      data.abundanceMatrix.Data()[entry] = static_cast<float>(count(random));
    }
  }
  for (std::int64_t site = 1; site <= data.siteCount; ++site) {
    data.siteGroups(site) = static_cast<std::int32_t>((site - 1) % data.groupCount + 1);
  }
}

}  // namespace kova::bench
