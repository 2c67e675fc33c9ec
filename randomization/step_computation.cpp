#include "randomization/step_computation.h"

#include <algorithm>
#include <new>

#include "indices/work_storage.h"

namespace kova {
namespace {

std::size_t Extent(std::int32_t count) {
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::size_t GroupingsPerPassOf(const AnalysisSettings& settings, std::size_t species,
                               std::size_t groups, ExtraSums sums) {
  const std::size_t asked = settings.groupingsPerPass;
  if (asked == 1 || asked == 2 || asked == 4) return asked;
  return GroupingsPerPass(species, groups, sums);
}

}  // namespace

StepConstants::StepConstants(const AnalysisData& data, const AnalysisSettings& settings,
                             const AssociationSteps* associations)
    : speciesCount_(Extent(data.speciesCount)),
      siteCount_(Extent(data.siteCount)),
      groupCount_(Extent(data.groupCount)),
      abundanceMatrix_(data.abundanceMatrix.Data()),
      speciesOccupiedSites_(ArrayEntries(data.speciesCount)),
      compute_(CoresFor(settings.kernelBuild).stepTables),
      associations_(associations),
      extraSums_(associations == nullptr ? ExtraSums::None : associations->PassSums()),
      groupingsPerPass_(GroupingsPerPassOf(settings, speciesCount_, groupCount_, extraSums_)),
      speciesPerBlock_(
          kova::SpeciesPerBlock(speciesCount_, groupCount_, groupingsPerPass_, extraSums_)) {
  CountSpeciesOccupiedSites(data.abundanceMatrix.Data(), speciesCount_, siteCount_,
                            speciesOccupiedSites_.Data());
}

StepTablesArguments StepConstants::Arguments(const Grouping* groupings,
                                             std::size_t groupingCount) const {
  StepTablesArguments arguments;
  arguments.speciesCount = speciesCount_;
  arguments.siteCount = siteCount_;
  arguments.groupCount = groupCount_;
  arguments.abundanceMatrix = abundanceMatrix_;
  arguments.speciesOccupiedSites = speciesOccupiedSites_.Data();
  arguments.groupingCount = groupingCount;
  arguments.extraSums = extraSums_;
  std::copy_n(groupings, groupingCount, arguments.groupings);
  return arguments;
}

std::unique_ptr<StepWork> StepWork::TryObtain(const StepConstants& constants) {
  std::unique_ptr<StepWork> work(new (std::nothrow) StepWork);
  if (work == nullptr) return nullptr;
  work->speciesPerBlock_ = constants.SpeciesPerBlock();
  const AssociationSteps* associations = constants.Associations();
  work->tables_ = StepTablesStorage::TryObtain(
      work->speciesPerBlock_, constants.GroupCount(), constants.GroupingsPerPass(),
      associations == nullptr ? ExtraSums::None : associations->PassSums());
  work->speciesMaximum_ = TryObtainWorkStorage<float>(work->speciesPerBlock_, 1);
  if (work->tables_ == nullptr || work->speciesMaximum_ == nullptr) return nullptr;
  if (associations != nullptr) {
    work->associationScratchSize_ = associations->ScratchSize();
    work->associationScratch_ = TryObtainWorkStorage<double>(work->associationScratchSize_, 1);
    if (work->associationScratch_ == nullptr) return nullptr;
  }
  return work;
}

std::size_t StepWork::Bytes() const {
  return tables_->Bytes() + speciesPerBlock_ * sizeof(float) +
         associationScratchSize_ * sizeof(double);
}

bool ComputeSteps(const StepConstants& constants, const Grouping* groupings,
                  std::size_t groupingCount, const StepWork& work, StepSummaries* summaries,
                  float* const (*fullTables)[5], float* const* speciesMaxima,
                  double* const* associationMaxima, std::stop_token stop) {
  const AssociationSteps* associations =
      associationMaxima == nullptr ? nullptr : constants.Associations();
  for (std::size_t g = 0; g < groupingCount; ++g)
    summaries[g] = StepSummaries{};
  const StepTablesArguments arguments = constants.Arguments(groupings, groupingCount);
  const StepTablesWork& tables = work.Tables();
  const auto groups = static_cast<std::int64_t>(arguments.groupCount);
  return ForEachSpeciesBlock(
      constants.Compute(), arguments, tables, [&](std::size_t first, std::size_t count) {
        // Blocks come in increasing species order, so each summary sums its species in order.
        // Kept maxima are found where they are kept, in place of the block's work storage.
        for (std::size_t g = 0; g < groupingCount; ++g) {
          for (int type = 0; type < kIndexTypeCount; ++type) {
            float* maxima = speciesMaxima == nullptr
                                ? work.SpeciesMaximum()
                                : speciesMaxima[g] + type * constants.SpeciesCount() + first;
            AddSpeciesToSummary(summaries[g][type], tables.groupings[g].tables[type],
                                static_cast<std::int64_t>(first), static_cast<std::int64_t>(count),
                                groups, maxima);
          }
        }
        if (associations != nullptr) {
          for (std::size_t g = 0; g < groupingCount; ++g) {
            associations->StepBlockMaxima(tables.groupings[g], groupings[g].groupSizes, first,
                                          count, work.AssociationScratch(), associationMaxima[g]);
          }
        }
        if (fullTables != nullptr) {
          CopyBlockTables(arguments, tables.groupings[0], first, count, *fullTables);
        }
        return !stop.stop_requested();
      });
}

}  // namespace kova
