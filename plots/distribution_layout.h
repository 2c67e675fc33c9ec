// The picture of a run's randomization distributions: one panel per variant with the
// histogram of its step sums, the observed sum as a vertical line, z and p in the panel's
// title and axes with ticks and labels, and a caption in the last cell of the grid. Its
// parts (bins, scales, ticks, texts) are plain functions, so that what a reader sees is
// decided and tested here, apart from whatever renders it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plots/picture.h"

namespace kova::plots {

// One variant of a run.
struct Distribution {
  std::string code;         // "APCF", "ACF", ...
  std::vector<float> sums;  // every step's sum in step order, the observed one included
  float observedSum = 0.0f;
  float zScore = 0.0f;
  double pValue = 0.0;
};

// ---- Scales ------------------------------------------------------------------------------

// The smallest of 1, 2 and 5 times a power of ten that is at least `rough` (> 0).
double NiceStep(double rough);

// The fewest decimals that tell apart the multiples of `step` (a NiceStep).
int DecimalsFor(double step);

// A value as a tick shows it, with `decimals` decimals; never "-0".
std::string TickText(double value, int decimals);

// The largest of 1, 2 and 5 times a power of ten that is at most `rough` (> 0).
double NiceStepAtMost(double rough);

// The histogram's bins: equal widths of a nice step near Freedman and Diaconis' width,
// 2 IQR / n^(1/3), but no wider than a tenth of the range while there are ten values or more
// (at least kFewestBins bins; the largest nice step at most that width) and no narrower than
// kMostBins bins allow; the first starting at a multiple of the width at or below the
// smallest value. A value on a boundary goes to the bin above it, the largest value to the
// last bin. Values that are not finite are counted apart.
inline constexpr double kFewestBins = 10;
inline constexpr double kMostBins = 200;
struct Bins {
  double low = 0;
  double width = 1;
  std::vector<std::int64_t> counts;
  std::int64_t notFinite = 0;
  double High() const { return low + width * static_cast<double>(counts.size()); }
};
Bins HistogramBins(const std::vector<float>& values);

// An axis from `low` to `high` with its ticks (values and texts).
struct Axis {
  double low = 0;
  double high = 1;
  std::vector<double> ticks;
  std::vector<std::string> texts;
};

// The sums' axis over [low, high]: ticks at the multiples of a NiceStep of about a quarter of
// the range that lie within it.
Axis SumAxis(double low, double high);

// The counts' axis from 0 to the first multiple of its step at or above `largest` (at least
// one step): whole-number ticks at NiceStep(largest / 4), at least 1, apart.
Axis CountAxis(std::int64_t largest);

// "APCF   z = 3.50   p = 0.001": z with two decimals, p with three significant digits.
std::string PanelTitle(const std::string& code, float zScore, double pValue);

// ---- The picture --------------------------------------------------------------------------

// The size the picture is laid out in, in picture units.
inline constexpr double kPictureWidth = 960;
inline constexpr double kPictureHeight = 620;

// The run a picture shows, as its caption names it.
struct RunDescription {
  std::string tableFile;   // the data file or CSV table; empty when not known
  std::string groupsFile;
  std::int32_t seed = 0;
  std::int64_t stepCount = 0;
};

// The panels of `distributions` (up to five) in a grid of three columns and two rows, in the
// order given, and the caption describing `run` in the last cell.
Picture DistributionPicture(const std::vector<Distribution>& distributions,
                            const RunDescription& run);

}  // namespace kova::plots
