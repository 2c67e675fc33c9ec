// The statistics of a run, from a step's summary to the p-values: what one IndexType's table
// contributes to a randomization step (the sum of the species' strongest values and the top
// species), the statistics of those sums over the steps (mean, deviation, z-score), the rule
// by which a step's value counts as at least the observed one, and the p-values with their
// adjustments for testing many species.
#pragma once

#include <cstdint>
#include <vector>

namespace kova {

// ---- A step's summary -------------------------------------------------------------------
// What one IndexType's table contributes to a randomization step: the sum over the species
// of their strongest values, and the species with the greatest positive one.

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

// ---- The sums over the steps ------------------------------------------------------------
// The statistics of the StepSum values of one IndexType over the randomization steps.

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

// ---- Ties -------------------------------------------------------------------------------
// A step is at least as extreme as the observed grouping when its value is at least the
// observed one less a tolerance: a shuffle that gives mathematically the observed value (two
// groups of equal size exchanged, or sites of equal abundance exchanged) computes it from
// sums over the sites in another order, and its single-precision result may come out a few
// units in the last place lower. Counting it as smaller would make every p-value too small.
//
// The tolerance bounds the rounding of the tables, with u = 2^-24 (half a unit in the last
// place of a float) and abundances of 0 or more, so that every value lies within [-1, 1]:
//  - a group total is a float sum of at most N (the sites) terms, each partial sum rounded:
//    within (N - 1) u of its value, relatively; occupied-site counts are exact below 2^24;
//  - a mean, the sum of the G group means and the few quotients and products after them
//    add one rounding each, and the sum of means adds G - 1;
//  - the evenness (ACF, ASF) sums the deviations from a mean that is itself off by the
//    total's rounding: within 2.5 N u; the contrasts (ASF, PSF) subtract the other groups'
//    means, which doubles the error of the sum of means (G / (G - 1) <= 2).
// Worked through the formulas this gives, for one computed value, at most
//    APCF (2N + G + 8) u   ACF (5N + G + 8) u   ASF (8N + 2G + 8) u   PCF 8u   PSF (2G + 8) u
// (with N u more for PCF and PSF from 2^24 sites on, where counts stop being exact). Two
// computed values are compared, so the tolerance is twice the bound, scaled by the observed
// value where it exceeds 1 (abundances below 0, which only the dialogue accepts). An
// infinite or NaN observed value has no tolerance: it is compared as it stands.
//
// The bound is not reached in practice (rounding errors of many additions partly cancel):
// on the bundled examples no shuffle whose exact value reaches the observed one falls below
// it, and fewer than 3 in 10,000 species-steps whose exact value lies below the observed one
// come within it, which can only make a p-value larger.

// The tolerance for one species' value of `indexType` (1 to 5) whose observed value is
// `observed`, in a table of `siteCount` sites and `groupCount` groups.
double ValueTieTolerance(int indexType, std::int64_t siteCount, std::int64_t groupCount,
                         double observed);

// The tolerance for a StepSum of `indexType`, the float sum of the magnitudes of
// `speciesCount` species' values, whose observed value is `observedSum`: each species' value
// within its bound, and the summation's own rounding, (S - 1) u of the sum.
double SumTieTolerance(int indexType, std::int64_t speciesCount, std::int64_t siteCount,
                       std::int64_t groupCount, double observedSum);

// ---- P-values and their adjustments -----------------------------------------------------

// The share of the steps, the observed one included, whose value is at least as extreme as
// the observed one: `atLeastObserved` / `stepCount`. The smallest p-value a run can give is
// therefore 1 / `stepCount`.
double RandomizationPValue(std::int64_t atLeastObserved, std::int64_t stepCount);

// Holm's step-down adjustment, as R's p.adjust(p, "holm") computes it: in increasing order
// of p, (n + 1 - i) x p(i), made non-decreasing and capped at 1.
std::vector<double> HolmAdjusted(const std::vector<double>& p);

// Benjamini and Hochberg's false discovery rate, as R's p.adjust(p, "BH") computes it: in
// decreasing order of p, (n / i) x p(i), made non-increasing and capped at 1.
std::vector<double> BenjaminiHochbergAdjusted(const std::vector<double>& p);

}  // namespace kova
