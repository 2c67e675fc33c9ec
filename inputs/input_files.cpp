#include "inputs/input_files.h"

#include "textio/free_format_input.h"
#include "textio/units.h"

namespace kova {

void ReadDataFile(AnalysisData& data) {
  ReadFormattedA(kInputUnit, data.titleLine, sizeof data.titleLine);
  ReadFreeFormat(kInputUnit, {IntegerItem(data.speciesCount), IntegerItem(data.siteCount),
                              IntegerItem(data.groupCount)});
  AllocateArrays(data);
  const std::int64_t sites = ArrayEntries(data.siteCount);
  const std::int64_t species = ArrayEntries(data.speciesCount);
  for (std::int64_t row = 0; row < species; ++row) {
    ReadFreeFormat(kInputUnit, {RealItems(data.abundanceMatrix.Data() + row, sites, species)});
  }
  CloseUnit(kInputUnit);
}

void ReadGroupFile(AnalysisData& data) {
  ReadFreeFormat(kInputUnit, {IntegerItems(data.siteGroups.Data(), ArrayEntries(data.siteCount))});
  CloseUnit(kInputUnit);
}

}  // namespace kova
