#include "report/results_report.h"

#include "inputs/analysis_data.h"
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

namespace {

// Every record ends with a carriage return and a line feed.
constexpr std::int64_t kLineEnd = 2;
// A real as wide as free-format editing makes one, such as -1.234567E+06.
constexpr float kWidestReal = -1.234567e+30f;

std::int64_t RecordBytes(std::initializer_list<OutputItem> items) {
  return static_cast<std::int64_t>(FreeFormatRecord(items).size()) + kLineEnd;
}

}  // namespace

std::int64_t ResultsStepBytes(std::int32_t stepCount, std::int32_t speciesCount) {
  const std::int64_t perType =
      RecordBytes({}) + RecordBytes({" Borsak ", kIndexTypeCount, " SUM= ", kWidestReal}) +
      RecordBytes({" max. spec. ", speciesCount, "its contribution= ", kWidestReal});
  return RecordBytes({" Randomization step ", stepCount}) + kIndexTypeCount * perType;
}

double ResultsFileBytes(std::int32_t stepCount, std::int32_t speciesCount,
                        std::int32_t groupCount) {
  if (stepCount <= 0) return 0.0;
  double bytes = static_cast<double>(stepCount) *
                 static_cast<double>(ResultsStepBytes(stepCount, speciesCount));
  if (stepCount == 1 && groupCount > 0) {
    // Ten values of eight characters to a line.
    const double linesPerSpecies = (groupCount + 9) / 10;
    const double rowBytes = 8.0 * groupCount + kLineEnd * linesPerSpecies;
    bytes += kIndexTypeCount * (static_cast<double>(RecordBytes({" BORSAK TYPE ", 5})) +
                                static_cast<double>(speciesCount) * rowBytes);
  }
  return bytes;
}

void WriteFinalHeading(int unit) {
  WriteFreeFormat(unit, {" INDEX  ACTUAL   MEAN  Z-SCORE  "});
}

void WriteFinalRow(int unit, std::string_view typeCode, float observedSum, float sumMean,
                   float zScore) {
  WriteFreeFormat(unit, {typeCode, observedSum, sumMean, zScore});
}

}  // namespace kova
