#include "driver/randomization_test.h"

#include <array>
#include <optional>

#include "driver/dialogue.h"
#include "randomization/run_outcome.h"
#include "randomization/run_statistics.h"
#include "randomization/step_computation.h"
#include "randomization/step_workers.h"
#include "report/results_report.h"
#include "textio/units.h"

namespace kova {
namespace {

void ReportIndexType(const AnalysisData& data, std::int32_t indexType, const StepSummary& summary,
                     const StepWorkers& steps, ConsoleSteps consoleSteps) {
  const bool console = consoleSteps == ConsoleSteps::Shown;
  WriteEmptyRecord(kResultsUnit);
  if (console) WriteEmptyRecord(kDefaultUnit);
  WriteSumLine(kResultsUnit, indexType, summary.stepSum);
  WriteTopSpeciesLine(kResultsUnit, summary.topSpecies, summary.topContribution);
  if (console) {
    WriteSumLine(kDefaultUnit, indexType, summary.stepSum);
    WriteTopSpeciesLine(kDefaultUnit, summary.topSpecies, summary.topContribution);
  }
  if (data.randomizationCount == 1) {
    WriteIndexTable(kResultsUnit, indexType, steps.FullTable(indexType), data.speciesCount,
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

void RunRandomizationTest(AnalysisData& data, const AnalysisSettings& settings,
                          const RunObserver& observer, ConsoleSteps consoleSteps,
                          const AssociationRequest& associations) {
  std::array<SumStatistics, kIndexTypeCount> statistics{};
  // The associations are found for the per-species results, which only a keeping observer has.
  std::optional<AssociationSteps> associationSteps;
  if (observer.runCompleted && observer.keepsSpecies &&
      (associations.combinations || associations.correlation)) {
    associationSteps.emplace(data, associations);
  }
  const AssociationSteps* stepAssociations = associationSteps ? &*associationSteps : nullptr;
  const StepConstants constants(data, settings, stepAssociations);
  // Set up after the first step line, where the steps' work storage has always been obtained;
  // the outcome before the steps start, while the grouping is the observed one.
  std::optional<RunOutcomeCollector> outcome;
  std::optional<StepWorkers> steps;
  const int threads = StepThreadCount(settings.threads, data.speciesCount, data.siteCount);

  // Counted in 64 bits: the largest count must not overflow the counter after its last step.
  for (std::int64_t count = 1; count <= data.randomizationCount; ++count) {
    const auto step = static_cast<std::int32_t>(count);
    WriteStepLine(kResultsUnit, step);
    if (consoleSteps == ConsoleSteps::Shown) WriteStepLine(kDefaultUnit, step);
    if (count == 1) {
      if (observer.runCompleted) outcome.emplace(data, observer, stepAssociations, associations);
      steps.emplace(data, constants, data.randomizationCount, threads,
                    outcome ? outcome->Detail() : StepDetail::Summaries, kStepPollInterval,
                    stepAssociations != nullptr);
    }
    const StepSummaries& summaries = steps->Summaries(count);
    for (std::int32_t indexType = 1; indexType <= kIndexTypeCount; ++indexType) {
      const StepSummary& summary = summaries[indexType - 1];
      ReportIndexType(data, indexType, summary, *steps, consoleSteps);
      AddStepSum(statistics[indexType - 1], step, summary.stepSum);
    }
    if (outcome) {
      outcome->AddStep(count, summaries, steps->SpeciesMaxima(count),
                       steps->AssociationMaxima(count));
    }
    if (observer.stepReported) observer.stepReported(count, data.randomizationCount);
  }

  steps.reset();
  CloseUnit(kResultsUnit);
  if (data.randomizationCount >= 2) WriteFinalTable(statistics, data.randomizationCount);
  if (outcome) {
    observer.runCompleted(
        outcome->Finish(data, constants, statistics, data.randomizationCount, threads));
  }
}

}  // namespace kova
