#include "driver/randomization_test.h"

#include <array>

#include "driver/dialogue.h"
#include "driver/randomization_statistics.h"
#include "driver/randomization_step.h"
#include "driver/results_report.h"
#include "driver/step_summary.h"
#include "textio/close_unit.h"
#include "textio/unit_numbers.h"

namespace kova {
namespace {

void ReportStep(const AnalysisData& data, std::int32_t indexType, const StepSummary& summary) {
  WriteEmptyRecord(kResultsUnit);
  WriteEmptyRecord(kDefaultUnit);
  WriteSumLine(kResultsUnit, indexType, summary.stepSum);
  WriteTopSpeciesLine(kResultsUnit, summary.topSpecies, summary.topContribution);
  WriteSumLine(kDefaultUnit, indexType, summary.stepSum);
  WriteTopSpeciesLine(kDefaultUnit, summary.topSpecies, summary.topContribution);
  if (data.randomizationCount == 1) {
    WriteIndexTable(kResultsUnit, indexType, data.indexTable.Data(), data.speciesCount,
                    data.groupCount);
  }
}

void WriteFinalTable(const std::array<SumStatistics, kIndexTypeCount>& statistics,
                     std::int32_t stepCount) {
  WriteEmptyRecord(kDefaultUnit);
  WriteFinalHeading(kDefaultUnit);
  for (int type = 0; type < kIndexTypeCount; ++type) {
    const FinalStatistics final = Finish(statistics[type], stepCount);
    WriteFinalRow(kDefaultUnit, kTypeCode[type], statistics[type].observedSum, final.sumMean,
                  final.zScore);
  }
}

}  // namespace

void RunRandomizationTest(AnalysisData& data) {
  std::array<SumStatistics, kIndexTypeCount> statistics{};
  // Work storage of the summaries, obtained once for the whole loop.
  ZeroedArray<float> speciesMaximum(ArrayEntries(data.speciesCount));

  // Counted in 64 bits: the largest count must not overflow the counter after its last step.
  for (std::int64_t count = 1; count <= data.randomizationCount; ++count) {
    const auto step = static_cast<std::int32_t>(count);
    WriteStepLine(kResultsUnit, step);
    WriteStepLine(kDefaultUnit, step);
    RunRandomizationStep(data, step, speciesMaximum.Data(),
                         [&](std::int32_t indexType, const StepSummary& summary) {
                           ReportStep(data, indexType, summary);
                           AddStepSum(statistics[indexType - 1], step, summary.stepSum);
                         });
  }

  CloseUnit(kResultsUnit);
  if (data.randomizationCount >= 2) WriteFinalTable(statistics, data.randomizationCount);
}

}  // namespace kova
