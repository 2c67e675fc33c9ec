#include "driver/results_report.h"

#include "textio/output_editing.h"

namespace kova {

void WriteStepLine(int unit, std::int32_t step) {
  WriteFreeFormat(unit, {" Randomization step ", step});
}

void WriteEmptyRecord(int unit) {
  WriteFreeFormat(unit, {});
}

void WriteSumLine(int unit, std::int32_t indexType, float stepSum) {
  WriteFreeFormat(unit, {" Borsak ", indexType, " SUM= ", stepSum});
}

void WriteTopSpeciesLine(int unit, std::int32_t topSpecies, float topContribution) {
  WriteFreeFormat(unit, {" max. spec. ", topSpecies, "its contribution= ", topContribution});
}

void WriteIndexTable(int unit, std::int32_t indexType, const float* indexTable,
                     std::int32_t speciesCount, std::int32_t groupCount) {
  WriteFreeFormat(unit, {" BORSAK TYPE ", indexType});
  const std::ptrdiff_t species = speciesCount > 0 ? speciesCount : 0;
  const std::ptrdiff_t groups = groupCount > 0 ? groupCount : 0;
  for (std::ptrdiff_t row = 0; row < species; ++row) {
    WriteFormattedF(unit, {indexTable + row, groups, species}, 10, 8, 4);
  }
}

void WriteFinalHeading(int unit) {
  WriteFreeFormat(unit, {" INDEX  ACTUAL   MEAN  Z-SCORE  "});
}

void WriteFinalRow(int unit, std::string_view typeCode, float observedSum, float sumMean,
                   float zScore) {
  WriteFreeFormat(unit, {typeCode, observedSum, sumMean, zScore});
}

}  // namespace kova
