// The computations of the three index kernels over raw storage. They are built twice, for the
// baseline instruction set and for AVX2, from the same source; each kernel's entry point
// obtains the work storage and hands it to the build chosen for the call.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kova {

// One call's arguments: counts as extents (a negative count is 0) and arrays as pointers to
// their first element. Every table is stored column by column with the species fastest.
struct KernelArguments {
  std::size_t speciesCount = 0;
  std::size_t siteCount = 0;
  std::size_t groupCount = 0;
  const std::int32_t* siteGroups = nullptr;
  const std::int32_t* groupSizes = nullptr;
  const float* abundanceMatrix = nullptr;
  const float* presenceMatrix = nullptr;
  float* indexTable = nullptr;
  std::int32_t indexType = 0;
};

// The arguments every kernel shares: the counts as extents, the grouping and the table.
KernelArguments GroupingArguments(std::int32_t speciesCount, std::int32_t siteCount,
                                  std::int32_t groupCount, const std::int32_t& siteGroups,
                                  const std::int32_t& groupSizes, float& indexTable);

// Work storage of AbundancePresenceIndex: per group and species the abundance total and the
// occupied-site count (GroupCount x SpeciesCount each); per species the sum of group means.
struct AbundancePresenceWork {
  float* groupTotals;
  float* occupiedSites;
  float* meanSums;
};

// Work storage of AbundanceIndex: per group and species the group mean in double precision
// and the deviation sum that turns into the evenness (GroupCount x SpeciesCount each); per
// species the sum of group means and the largest group mean.
struct AbundanceWork {
  double* groupMeans;
  float* evenness;
  float* meanSums;
  float* largestMeans;
};

// Work storage of PresenceIndex, per species: the occupied-site count, the sum of the
// occurrence frequencies and the largest frequency.
struct PresenceWork {
  float* occupiedSites;
  float* frequencySums;
  float* largestFrequencies;
};

// The most groupings whose tables are computed together: each pass reads a site's abundances
// once for all of them, so that consecutive randomization steps share the reads of the table.
// How many a run takes (1, 2 or 4) depends on the storage their block of species needs.
constexpr std::size_t kMostGroupingsPerPass = 4;

// One grouping of the sites: the group number of each site and the size of each group.
struct Grouping {
  const std::int32_t* siteGroups = nullptr;
  const std::int32_t* groupSizes = nullptr;
};

// Sums the first pass may add for its caller beside the tables, per group and species, in
// increasing site order.
enum class ExtraSums {
  None,
  // The squared abundances, each square and each sum rounded to single precision as the
  // totals T are: for abundances whose sums these roundings leave exact.
  SingleSquares,
  // The abundances in double precision (each widened and added), and with them their squares.
  DoubleTotals,
  DoubleTotalsAndSquares,
};

// What the five tables of one to kMostGroupingsPerPass groupings are computed from. The
// occupied-site counts of the species do not depend on the grouping, so they are counted once
// per run; the presence of a species at a site is read from its abundance (greater than 0),
// which is how the presence table is derived.
struct StepTablesArguments {
  std::size_t speciesCount = 0;
  std::size_t siteCount = 0;
  std::size_t groupCount = 0;
  const float* abundanceMatrix = nullptr;
  const float* speciesOccupiedSites = nullptr;  // P(i) of every species
  std::size_t groupingCount = 1;
  Grouping groupings[kMostGroupingsPerPass];
  ExtraSums extraSums = ExtraSums::None;  // as the work storage holds them
};

// Work storage of one grouping for one block of at most `speciesPerBlock` species. Every
// per-group array holds GroupCount columns of the block's species; `tables` are the five
// index tables of the block, IndexType 1 to 5, laid out the same way.
struct GroupingWork {
  float* groupTotals;
  float* occupiedSites;
  double* groupMeans;  // unrounded
  float* evenness;     // the deviation sums until they turn into the evenness
  float* meanSums;     // per species
  float* averages;     // per species
  float* largest;      // per species
  float* tables[5];
  // The extra sums asked for, per group and species; null where not asked for.
  float* squares;
  double* doubleTotals;
  double* doubleSquares;
};

// The storage of up to `groupingsPerPass` groupings; the others are left null.
struct StepTablesWork {
  std::size_t speciesPerBlock;
  std::size_t groupingsPerPass;
  GroupingWork groupings[kMostGroupingsPerPass];
};

// One build of the computations. Each kernel leaves in `indexTable` exactly the bits the
// species-by-species description of its kernel gives; `stepTables` leaves the same bits,
// for all five types of every grouping at once, in the block tables of its work storage.
struct KernelCores {
  void (*abundancePresence)(const KernelArguments& arguments, const AbundancePresenceWork& work);
  void (*abundance)(const KernelArguments& arguments, const AbundanceWork& work);
  void (*presence)(const KernelArguments& arguments, const PresenceWork& work);
  void (*stepTables)(const StepTablesArguments& arguments, std::size_t firstSpecies,
                     std::size_t speciesCount, const StepTablesWork& work);
};

const KernelCores& BaselineCores();

// Runs only on processors with AVX2; CoresFor() checks.
const KernelCores& Avx2Cores();

// Which build a caller asks for: the fastest the processor runs, or the baseline one (to
// compare the two, or to rule the wide registers out).
enum class KernelBuild { Fastest, Baseline };

// The build for `build`: the baseline one when asked for or when the processor lacks AVX2,
// otherwise the AVX2 one.
const KernelCores& CoresFor(KernelBuild build);

}  // namespace kova
