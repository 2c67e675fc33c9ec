// What one IndexType's table contributes to a randomization step: the sum over the species
// of their strongest values, and the species with the greatest positive one.
#pragma once

#include <cstdint>

namespace kova {

struct StepSummary {
  float stepSum = 0.0f;
  std::int32_t topSpecies = 0;  // 0 when no species' maximum exceeds 0.0
  float topContribution = 0.0f;
};

// `speciesMaximum` is work storage of SpeciesCount floats, owned by the caller.
StepSummary SummarizeIndexTable(const float* indexTable, std::int32_t speciesCount,
                                std::int32_t groupCount, float* speciesMaximum);

// Adds the species firstSpecies + 1 to firstSpecies + speciesCount to `summary`, from a table
// that holds just their rows (speciesCount rows, column by column). Summing the species of a
// whole table block by block, in increasing order, gives the summary of the whole table.
// `speciesMaximum` is work storage of speciesCount floats.
void AddSpeciesToSummary(StepSummary& summary, const float* rows, std::int64_t firstSpecies,
                         std::int64_t speciesCount, std::int64_t groupCount, float* speciesMaximum);

}  // namespace kova
