#include "driver/step_summary.h"

#include <cmath>

namespace kova {

StepSummary SummarizeIndexTable(const float* indexTable, std::int32_t speciesCount,
                                std::int32_t groupCount, float* speciesMaximum) {
  const std::int64_t species = speciesCount > 0 ? speciesCount : 0;
  const std::int64_t groups = groupCount > 0 ? groupCount : 0;

  // Each species' entry of largest magnitude, with its sign. The comparison is strict, so
  // the lowest group wins a tie and a NaN never wins; groups run outside so that the table
  // is read column by column.
  for (std::int64_t i = 0; i < species; ++i)
    speciesMaximum[i] = 0.0f;
  for (std::int64_t k = 0; k < groups; ++k) {
    const float* column = indexTable + k * species;
    for (std::int64_t i = 0; i < species; ++i) {
      if (std::fabs(column[i]) > std::fabs(speciesMaximum[i])) speciesMaximum[i] = column[i];
    }
  }

  // The sum runs in species order, rounded after each species; the first of equal maxima
  // stays on top, and a negative maximum never gets there.
  StepSummary summary;
  for (std::int64_t i = 0; i < species; ++i) {
    summary.stepSum =
        static_cast<float>(std::fabs(speciesMaximum[i]) + static_cast<double>(summary.stepSum));
    if (speciesMaximum[i] > summary.topContribution) {
      summary.topContribution = speciesMaximum[i];
      summary.topSpecies = static_cast<std::int32_t>(i + 1);
    }
  }
  return summary;
}

}  // namespace kova
