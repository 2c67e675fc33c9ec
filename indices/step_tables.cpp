#include "indices/step_tables.h"

#include "indices/work_storage.h"

namespace kova {
namespace {

// A block's work storage holds the columns each site's abundances are added into during the
// passes (about half of it) and the block tables. It is kept within 2 MB, so that the columns
// the passes touch stay in the second-level cache of one core (2 MB on the machines
// measured); a table of many species is computed a block of species at a time. Within a block each
// pass streams the block's part of every site's column; long runs let the processor's
// prefetching follow them. (Blocks small enough to keep their part of the abundance table in
// cache between the two passes were measured too: the short runs they read cost more than
// the second pass they save.)
constexpr std::size_t kWorkStorageBytes = std::size_t{2} << 20;
// Whole vector widths and cache lines.
constexpr std::size_t kSpeciesGranule = 16;

// The float and double columns of one block: groupTotals, occupiedSites, evenness and the
// five tables per group, meanSums, averages and largest per species; groupMeans per group; and
// the extra sums a caller asks for (ExtraFloatColumnsPerGroup, DoubleColumnsPerGroup).
constexpr std::size_t kFloatColumnsPerGroup = 3 + 5;
constexpr std::size_t kFloatColumnsPerSpecies = 3;

// The float columns per group beyond the fixed ones, and the double ones (the exact means and
// the double sums asked for).
std::size_t ExtraFloatColumnsPerGroup(ExtraSums sums) {
  return sums == ExtraSums::SingleSquares ? 1 : 0;
}
std::size_t DoubleColumnsPerGroup(ExtraSums sums) {
  switch (sums) {
    case ExtraSums::None:
    case ExtraSums::SingleSquares:
      return 1;
    case ExtraSums::DoubleTotals:
      return 2;
    case ExtraSums::DoubleTotalsAndSquares:
      return 3;
  }
  return 3;
}

// The work storage of one species of a block.
std::size_t BytesPerSpecies(std::size_t groupCount, std::size_t groupingsPerPass, ExtraSums sums) {
  return groupingsPerPass *
         (sizeof(float) * ((kFloatColumnsPerGroup + ExtraFloatColumnsPerGroup(sums)) * groupCount +
                           kFloatColumnsPerSpecies) +
          sizeof(double) * DoubleColumnsPerGroup(sums) * groupCount);
}

}  // namespace

void CountSpeciesOccupiedSites(const float* abundanceMatrix, std::size_t speciesCount,
                               std::size_t siteCount, float* speciesOccupiedSites) {
  for (std::size_t i = 0; i < speciesCount; ++i)
    speciesOccupiedSites[i] = 0.0f;
  for (std::size_t site = 0; site < siteCount; ++site) {
    const float* abundances = abundanceMatrix + site * speciesCount;
    for (std::size_t i = 0; i < speciesCount; ++i)
      speciesOccupiedSites[i] += abundances[i] > 0.0f ? 1.0f : 0.0f;
  }
}

std::size_t SpeciesPerBlock(std::size_t speciesCount, std::size_t groupCount,
                            std::size_t groupingsPerPass, ExtraSums sums) {
  const std::size_t fitting =
      kWorkStorageBytes / BytesPerSpecies(groupCount, groupingsPerPass, sums);
  if (speciesCount <= fitting) return std::max<std::size_t>(speciesCount, 1);
  const std::size_t block = std::max(fitting / kSpeciesGranule * kSpeciesGranule, kSpeciesGranule);
  return std::min(block, speciesCount);
}

std::size_t GroupingsPerPass(std::size_t speciesCount, std::size_t groupCount, ExtraSums sums) {
  const std::size_t longEnough =
      std::min(std::max<std::size_t>(speciesCount, 1), kFewestSpeciesPerBlock);
  for (const std::size_t groupings : {std::size_t{4}, std::size_t{2}}) {
    const std::size_t block = SpeciesPerBlock(speciesCount, groupCount, groupings, sums);
    const bool fits = block * BytesPerSpecies(groupCount, groupings, sums) <= kWorkStorageBytes;
    if (block >= longEnough && fits) return groupings;
  }
  return 1;
}

std::unique_ptr<StepTablesStorage> StepTablesStorage::TryObtain(std::size_t speciesPerBlock,
                                                                std::size_t groupCount,
                                                                std::size_t groupingsPerPass,
                                                                ExtraSums sums) {
  if (groupingsPerPass < 1 || groupingsPerPass > kMostGroupingsPerPass) return nullptr;
  std::unique_ptr<StepTablesStorage> storage(new (std::nothrow) StepTablesStorage);
  if (storage == nullptr) return nullptr;
  std::size_t columns = 0;
  if (__builtin_mul_overflow(groupCount, kFloatColumnsPerGroup + ExtraFloatColumnsPerGroup(sums),
                             &columns) ||
      __builtin_add_overflow(columns, kFloatColumnsPerSpecies, &columns) ||
      __builtin_mul_overflow(columns, groupingsPerPass, &columns)) {
    return nullptr;
  }
  std::size_t doubleColumns = 0;
  if (__builtin_mul_overflow(groupCount, groupingsPerPass, &doubleColumns) ||
      __builtin_mul_overflow(doubleColumns, DoubleColumnsPerGroup(sums), &doubleColumns)) {
    return nullptr;
  }
  storage->floats_ = TryObtainWorkStorage<float>(speciesPerBlock, columns);
  storage->doubles_ = TryObtainWorkStorage<double>(speciesPerBlock, doubleColumns);
  if (storage->floats_ == nullptr || storage->doubles_ == nullptr) return nullptr;
  storage->bytes_ = speciesPerBlock * (columns * sizeof(float) + doubleColumns * sizeof(double));

  const std::size_t column = speciesPerBlock * groupCount;
  float* nextFloat = storage->floats_.get();
  double* nextDouble = storage->doubles_.get();
  const auto take = [&nextFloat](std::size_t count) {
    float* taken = nextFloat;
    nextFloat += count;
    return taken;
  };
  const auto takeDouble = [&nextDouble, column](bool wanted) -> double* {
    if (!wanted) return nullptr;
    double* taken = nextDouble;
    nextDouble += column;
    return taken;
  };
  storage->work_.speciesPerBlock = speciesPerBlock;
  storage->work_.groupingsPerPass = groupingsPerPass;
  for (std::size_t g = 0; g < groupingsPerPass; ++g) {
    GroupingWork& work = storage->work_.groupings[g];
    work.groupTotals = take(column);
    work.occupiedSites = take(column);
    work.evenness = take(column);
    for (float*& table : work.tables)
      table = take(column);
    work.meanSums = take(speciesPerBlock);
    work.averages = take(speciesPerBlock);
    work.largest = take(speciesPerBlock);
    work.squares = sums == ExtraSums::SingleSquares ? take(column) : nullptr;
    work.groupMeans = takeDouble(true);
    work.doubleTotals =
        takeDouble(sums == ExtraSums::DoubleTotals || sums == ExtraSums::DoubleTotalsAndSquares);
    work.doubleSquares = takeDouble(sums == ExtraSums::DoubleTotalsAndSquares);
  }
  return storage;
}

void CopyBlockTables(const StepTablesArguments& arguments, const GroupingWork& work,
                     std::size_t firstSpecies, std::size_t speciesCount,
                     float* const (&tables)[5]) {
  for (std::size_t type = 0; type < 5; ++type) {
    for (std::size_t group = 0; group < arguments.groupCount; ++group) {
      std::copy_n(work.tables[type] + group * speciesCount, speciesCount,
                  tables[type] + group * arguments.speciesCount + firstSpecies);
    }
  }
}

void ComputeStepTables(const StepTablesArguments& arguments, const StepTablesWork& work,
                       float* const (&tables)[kMostGroupingsPerPass][5], KernelBuild build) {
  ForEachSpeciesBlock(CoresFor(build).stepTables, arguments, work,
                      [&](std::size_t first, std::size_t count) {
                        for (std::size_t g = 0; g < arguments.groupingCount; ++g) {
                          CopyBlockTables(arguments, work.groupings[g], first, count, tables[g]);
                        }
                        return true;
                      });
}

}  // namespace kova
