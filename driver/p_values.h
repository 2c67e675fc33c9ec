// The p-values of the randomization test and their adjustments for testing many species.
// They are new statistics of the counts, not values the report prints, so they are computed
// in double precision throughout; no stored real of the analysis enters them but as a count.
#pragma once

#include <cstdint>
#include <vector>

namespace kova {

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
