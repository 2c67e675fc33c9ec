// The statistics of the StepSum values of one IndexType over the randomization steps.
#pragma once

#include <cstdint>

namespace kova {

struct SumStatistics {
  float observedSum = 0.0f;  // the StepSum of step 1, the observed grouping
  float sumTotal = 0.0f;
  float sumSquareTotal = 0.0f;
};

struct FinalStatistics {
  float sumDeviation = 0.0f;  // sample standard deviation; never printed
  float sumMean = 0.0f;
  float zScore = 0.0f;
};

// Adds one step's sum; the square is rounded to single precision before it is added.
void AddStepSum(SumStatistics& statistics, std::int32_t step, float stepSum);

// The mean and standard deviation over all `stepCount` sums (the observed one included) and
// the observed sum's z-score. A zero or negative variance gives an infinite or NaN z-score.
FinalStatistics Finish(const SumStatistics& statistics, std::int32_t stepCount);

}  // namespace kova
