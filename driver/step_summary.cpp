#include "driver/step_summary.h"

#include <cmath>

namespace kova {

StepSummary SummarizeIndexTable(const float* indexTable, std::int32_t speciesCount,
                                std::int32_t groupCount, float* speciesMaximum) {
  StepSummary summary;
  AddSpeciesToSummary(summary, indexTable, 0, speciesCount > 0 ? speciesCount : 0,
                      groupCount > 0 ? groupCount : 0, speciesMaximum);
  return summary;
}

void AddSpeciesToSummary(StepSummary& summary, const float* rows, std::int64_t firstSpecies,
                         std::int64_t speciesCount, std::int64_t groupCount,
                         float* speciesMaximum) {
  // Each species' entry of largest magnitude, with its sign. The comparison is strict, so
  // the lowest group wins a tie and a NaN never wins; groups run outside so that the table
  // is read column by column, and the choice is a selection rather than a branch, so that
  // the species loop vectorises.
  for (std::int64_t i = 0; i < speciesCount; ++i)
    speciesMaximum[i] = 0.0f;
  for (std::int64_t k = 0; k < groupCount; ++k) {
    const float* __restrict column = rows + k * speciesCount;
    float* __restrict maximum = speciesMaximum;
    for (std::int64_t i = 0; i < speciesCount; ++i) {
      maximum[i] = std::fabs(column[i]) > std::fabs(maximum[i]) ? column[i] : maximum[i];
    }
  }

  // The sum runs in species order, rounded after each species; the first of equal maxima
  // stays on top, and a negative maximum never gets there.
  for (std::int64_t i = 0; i < speciesCount; ++i) {
    summary.stepSum =
        static_cast<float>(std::fabs(speciesMaximum[i]) + static_cast<double>(summary.stepSum));
    if (speciesMaximum[i] > summary.topContribution) {
      summary.topContribution = speciesMaximum[i];
      summary.topSpecies = static_cast<std::int32_t>(firstSpecies + i + 1);
    }
  }
}

}  // namespace kova
