// All five index tables of one grouping, or of up to four groupings at once, computed together,
// block of species by block of species, from two passes over each block's part of the abundance
// table. The tables are bit for bit those of AbundancePresenceIndex, AbundanceIndex and
// PresenceIndex.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>

#include "indices/kernel_cores.h"

namespace kova {

using StepTablesFunction = decltype(KernelCores::stepTables);

// P(i) of every species: its presences (1 where the abundance is greater than 0, else 0)
// summed over the sites in increasing site order, as PresenceIndex counts them from the
// presence table. The grouping does not enter, so a run counts them once.
void CountSpeciesOccupiedSites(const float* abundanceMatrix, std::size_t speciesCount,
                               std::size_t siteCount, float* speciesOccupiedSites);

// How many groupings a pass serves: the most of 4, 2 and 1 whose block of species (below)
// still holds all the species or a run of kFewestSpeciesPerBlock of them, so that each pass
// streams long runs of every site's column.
std::size_t GroupingsPerPass(std::size_t speciesCount, std::size_t groupCount,
                             ExtraSums sums = ExtraSums::None);

// The species of one block: all of them while their work storage (for `groupingsPerPass`
// groupings, with `sums`) stays within a bound of some megabytes, otherwise as many as the
// bound holds, a whole number of vector widths.
std::size_t SpeciesPerBlock(std::size_t speciesCount, std::size_t groupCount,
                            std::size_t groupingsPerPass, ExtraSums sums = ExtraSums::None);

// Below this many species to a block, a pass's short runs cost more than a shared pass saves.
constexpr std::size_t kFewestSpeciesPerBlock = 512;

// The work storage of one thread computing step tables, for up to `groupingsPerPass`
// groupings and blocks of up to `speciesPerBlock` species, with the double sums `sums`.
class StepTablesStorage {
 public:
  // Null when the storage cannot be obtained; nothing is reported, so that the caller decides.
  static std::unique_ptr<StepTablesStorage> TryObtain(std::size_t speciesPerBlock,
                                                      std::size_t groupCount,
                                                      std::size_t groupingsPerPass,
                                                      ExtraSums sums = ExtraSums::None);

  const StepTablesWork& Work() const { return work_; }
  // The bytes this storage holds.
  std::size_t Bytes() const { return bytes_; }

 private:
  StepTablesStorage() = default;

  std::unique_ptr<float[]> floats_;
  std::unique_ptr<double[]> doubles_;
  StepTablesWork work_{};
  std::size_t bytes_ = 0;
};

// Computes the blocks in increasing species order with `compute` (one instruction-set build's
// StepTablesCore); after each, blockDone(firstSpecies, speciesCount) reads the block's five
// tables from `work` before the next block overwrites them, and returns whether to go on.
// Returns false when blockDone ended the computation early.
template <typename BlockDone>
bool ForEachSpeciesBlock(StepTablesFunction compute, const StepTablesArguments& arguments,
                         const StepTablesWork& work, BlockDone&& blockDone) {
  for (std::size_t first = 0; first < arguments.speciesCount; first += work.speciesPerBlock) {
    const std::size_t count = std::min(work.speciesPerBlock, arguments.speciesCount - first);
    compute(arguments, first, count, work);
    if (!blockDone(first, count)) return false;
  }
  return true;
}

// Copies the five block tables of one grouping's species firstSpecies.. into its whole tables
// (IndexType 1 to 5, each SpeciesCount x GroupCount, column by column with the species
// fastest).
void CopyBlockTables(const StepTablesArguments& arguments, const GroupingWork& work,
                     std::size_t firstSpecies, std::size_t speciesCount, float* const (&tables)[5]);

// The five whole tables of each grouping, IndexType 1 to 5, each SpeciesCount x GroupCount
// and stored column by column with the species fastest, computed with `build`. `tables[g]`
// receives the tables of grouping g.
void ComputeStepTables(const StepTablesArguments& arguments, const StepTablesWork& work,
                       float* const (&tables)[kMostGroupingsPerPass][5],
                       KernelBuild build = KernelBuild::Fastest);

}  // namespace kova
