#include "driver/randomization_statistics.h"

#include <cmath>

namespace kova {

void AddStepSum(SumStatistics& statistics, std::int32_t step, float stepSum) {
  if (step == 1) statistics.observedSum = stepSum;
  statistics.sumTotal = static_cast<float>(static_cast<double>(statistics.sumTotal) + stepSum);
  const auto square = static_cast<float>(static_cast<double>(stepSum) * stepSum);
  statistics.sumSquareTotal =
      static_cast<float>(static_cast<double>(statistics.sumSquareTotal) + square);
}

FinalStatistics Finish(const SumStatistics& statistics, std::int32_t stepCount) {
  const auto n = static_cast<double>(stepCount);
  const auto totalSquared =
      static_cast<float>(static_cast<double>(statistics.sumTotal) * statistics.sumTotal);
  FinalStatistics result;
  result.sumDeviation = static_cast<float>(
      std::sqrt((static_cast<double>(statistics.sumSquareTotal) - totalSquared / n) / (n - 1.0)));
  result.sumMean = static_cast<float>(static_cast<double>(statistics.sumTotal) / n);
  result.zScore = static_cast<float>(
      (static_cast<double>(statistics.observedSum) - result.sumMean) / result.sumDeviation);
  return result;
}

}  // namespace kova
