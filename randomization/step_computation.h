// The part of a randomization step that any thread may compute: the five index tables of
// one grouping and their summaries, for one step or for consecutive steps together. It
// touches no unit, no console and no generator, and obtains no storage: whatever it needs is
// obtained beforehand on the thread that runs the analysis.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stop_token>

#include "indices/step_tables.h"
#include "inputs/analysis_data.h"
#include "randomization/analysis_settings.h"
#include "randomization/association_steps.h"
#include "randomization/run_statistics.h"

namespace kova {

using StepSummaries = std::array<StepSummary, kIndexTypeCount>;

// What every step of a run reads and none changes: the abundance table, the occupied-site
// count of every species, the instruction-set build, the groupings one pass serves and the
// associations the steps find, fixed when the run's steps begin.
class StepConstants {
 public:
  // Counts the species' occupied sites from the abundances. A failure to obtain their
  // storage ends the run with the allocation report. Groupings per pass other than 1, 2 and 4
  // in `settings` are chosen from the table (GroupingsPerPass). With `associations` (which
  // must outlive this), the passes also add the sums they are found from.
  explicit StepConstants(const AnalysisData& data, const AnalysisSettings& settings = {},
                         const AssociationSteps* associations = nullptr);

  // The arguments of the tables of one or more groupings (up to GroupingsPerPass()).
  StepTablesArguments Arguments(const Grouping* groupings, std::size_t groupingCount) const;
  StepTablesFunction Compute() const { return compute_; }
  std::size_t GroupingsPerPass() const { return groupingsPerPass_; }
  std::size_t SpeciesPerBlock() const { return speciesPerBlock_; }
  std::size_t SpeciesCount() const { return speciesCount_; }
  std::size_t SiteCount() const { return siteCount_; }
  std::size_t GroupCount() const { return groupCount_; }
  const AssociationSteps* Associations() const { return associations_; }

 private:
  std::size_t speciesCount_;
  std::size_t siteCount_;
  std::size_t groupCount_;
  const float* abundanceMatrix_;
  ZeroedArray<float> speciesOccupiedSites_;
  StepTablesFunction compute_;
  const AssociationSteps* associations_;
  ExtraSums extraSums_;
  std::size_t groupingsPerPass_;
  std::size_t speciesPerBlock_;
};

// The storage one thread computes steps in: the block tables, the species maxima of a
// block and the scratch storage of the associations.
class StepWork {
 public:
  // Null when the storage cannot be obtained; nothing is reported.
  static std::unique_ptr<StepWork> TryObtain(const StepConstants& constants);

  const StepTablesWork& Tables() const { return tables_->Work(); }
  float* SpeciesMaximum() const { return speciesMaximum_.get(); }
  double* AssociationScratch() const { return associationScratch_.get(); }
  std::size_t Bytes() const;

 private:
  std::unique_ptr<StepTablesStorage> tables_;
  std::unique_ptr<float[]> speciesMaximum_;
  std::unique_ptr<double[]> associationScratch_;
  std::size_t speciesPerBlock_ = 0;
  std::size_t associationScratchSize_ = 0;
};

// Computes the five tables of each of `groupingCount` groupings (1 to GroupingsPerPass()) in
// the same passes, block by block, and sums them into summaries[0 ..]; with `fullTables`
// (one grouping), also copies its whole tables there (IndexType 1 to 5, each SpeciesCount x
// GroupCount); with `speciesMaxima`, keeps every species' maximum of every grouping there
// (speciesMaxima[g]: IndexType 1 to 5, each SpeciesCount values in species order); with
// `associationMaxima` (and the constants' associations), finds every species' strongest
// associations of every grouping there (associationMaxima[g], as
// AssociationSteps::StepBlockMaxima lays them out). A stop requested through `stop` ends the
// computation after the current block: it returns false and the summaries are incomplete.
bool ComputeSteps(const StepConstants& constants, const Grouping* groupings,
                  std::size_t groupingCount, const StepWork& work, StepSummaries* summaries,
                  float* const (*fullTables)[5] = nullptr, float* const* speciesMaxima = nullptr,
                  double* const* associationMaxima = nullptr, std::stop_token stop = {});

}  // namespace kova
