#include "plots/distribution_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kova::plots {
namespace {

// ---- Texts of numbers ---------------------------------------------------------------------
// Written with std::to_chars, which no locale changes: the window's locale may write decimal
// commas, the picture never does.

std::string NotFiniteText(double value) {
  if (std::isnan(value)) return "NaN";
  return value > 0 ? "Inf" : "-Inf";
}

std::string FixedText(double value, int decimals) {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
}

std::string SignificantText(double value, int digits) {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
  return std::string(text, result.ptr);
}

// ---- Geometry -----------------------------------------------------------------------------

constexpr int kColumns = 3;
constexpr double kHeadingHeight = 40;
constexpr double kCellWidth = kPictureWidth / kColumns;
constexpr double kCellHeight = (kPictureHeight - kHeadingHeight) / 2;

// The plot area of a cell, inside the room for the title, the ticks and the axis labels.
constexpr double kAreaLeft = 62;
constexpr double kAreaRight = 18;
constexpr double kAreaTop = 34;
constexpr double kAreaBottom = 50;
constexpr double kTickLength = 5;

constexpr double kTitleSize = 14;
constexpr double kTextSize = 11;

constexpr Colour kInk{0, 0, 0};
constexpr Colour kBarFill{155, 183, 212};
constexpr Colour kBarEdge{74, 107, 138};
constexpr Colour kObserved{214, 39, 40};
constexpr Colour kNote{90, 90, 90};

struct Area {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// Maps a value of an axis onto a span of picture units (a reversed span for y).
double Scale(double value, const Axis& axis, double from, double to) {
  return from + (value - axis.low) / (axis.high - axis.low) * (to - from);
}

// A text in the panels' size, and one in bold for titles.
Text Plain(Point at, std::string text, Anchor anchor, Colour colour = kInk) {
  return {at, std::move(text), kTextSize, anchor, Weight::Normal, Direction::Across, colour};
}

Text Bold(Point at, std::string text, double size, Anchor anchor) {
  return {at, std::move(text), size, anchor, Weight::Bold, Direction::Across, kInk};
}

void AddAxes(Group& panel, const Area& area, const Axis& x, const Axis& y) {
  panel.lines.push_back({{area.left, area.top}, {area.left, area.bottom}, kInk, 1});
  panel.lines.push_back({{area.left, area.bottom}, {area.right, area.bottom}, kInk, 1});
  for (std::size_t k = 0; k < x.ticks.size(); ++k) {
    const double at = Scale(x.ticks[k], x, area.left, area.right);
    panel.lines.push_back({{at, area.bottom}, {at, area.bottom + kTickLength}, kInk, 1});
    panel.texts.push_back(
        Plain({at, area.bottom + kTickLength + kTextSize + 1}, x.texts[k], Anchor::Middle));
  }
  for (std::size_t k = 0; k < y.ticks.size(); ++k) {
    const double at = Scale(y.ticks[k], y, area.bottom, area.top);
    panel.lines.push_back({{area.left - kTickLength, at}, {area.left, at}, kInk, 1});
    panel.texts.push_back(
        Plain({area.left - kTickLength - 3, at + kTextSize * 0.35}, y.texts[k], Anchor::End));
  }
  panel.texts.push_back(Plain({(area.left + area.right) / 2, area.bottom + kAreaBottom - 8},
                              "summed indicator value", Anchor::Middle));
  Text steps =
      Plain({area.left - kAreaLeft + 16, (area.top + area.bottom) / 2}, "steps", Anchor::Middle);
  steps.direction = Direction::Upright;
  panel.texts.push_back(steps);
}

void AddBars(Group& panel, const Area& area, const Bins& bins, const Axis& x, const Axis& y) {
  for (std::size_t k = 0; k < bins.counts.size(); ++k) {
    if (bins.counts[k] == 0) continue;
    const double low = bins.low + bins.width * static_cast<double>(k);
    const double left = Scale(low, x, area.left, area.right);
    const double right = Scale(low + bins.width, x, area.left, area.right);
    const double top = Scale(static_cast<double>(bins.counts[k]), y, area.bottom, area.top);
    panel.boxes.push_back({left, top, right - left, area.bottom - top, kBarFill, kBarEdge});
  }
}

// The observed sum's line, labelled on the side with more room.
void AddObserved(Group& panel, const Area& area, const Axis& x, float observedSum) {
  if (!std::isfinite(observedSum)) return;
  const double at = Scale(observedSum, x, area.left, area.right);
  panel.lines.push_back({{at, area.top}, {at, area.bottom}, kObserved, 2});
  const bool rightHalf = at > (area.left + area.right) / 2;
  panel.texts.push_back(Plain({rightHalf ? at - 4 : at + 4, area.top + kTextSize}, "observed",
                              rightHalf ? Anchor::End : Anchor::Start, kObserved));
}

Group Panel(const Distribution& distribution, double cellLeft, double cellTop) {
  Group panel{"panel", distribution.code, {}, {}, {}};
  panel.texts.push_back(
      Bold({cellLeft + kCellWidth / 2, cellTop + 20},
           PanelTitle(distribution.code, distribution.zScore, distribution.pValue), kTitleSize,
           Anchor::Middle));
  const Area area{cellLeft + kAreaLeft, cellTop + kAreaTop, cellLeft + kCellWidth - kAreaRight,
                  cellTop + kCellHeight - kAreaBottom};
  const Bins bins = HistogramBins(distribution.sums);
  if (bins.counts.empty()) {
    panel.texts.push_back(Plain({(area.left + area.right) / 2, (area.top + area.bottom) / 2},
                                "no finite sums", Anchor::Middle, kNote));
    return panel;
  }
  const Axis x = SumAxis(bins.low, bins.High());
  const Axis y = CountAxis(*std::max_element(bins.counts.begin(), bins.counts.end()));
  AddBars(panel, area, bins, x, y);
  AddAxes(panel, area, x, y);
  AddObserved(panel, area, x, distribution.observedSum);
  if (bins.notFinite > 0) {
    panel.texts.push_back(Plain({area.left + 4, area.top + 2 * kTextSize + 4},
                                std::to_string(bins.notFinite) + " sums not finite, left out",
                                Anchor::Start, kNote));
  }
  return panel;
}

Group Caption(const RunDescription& run, double cellLeft, double cellTop) {
  Group caption{"caption", "caption", {}, {}, {}};
  const std::string steps =
      std::to_string(run.stepCount) + (run.stepCount == 1 ? " step" : " steps");
  std::vector<std::string> lines;
  if (!run.tableFile.empty()) lines.push_back("Data: " + run.tableFile);
  if (!run.groupsFile.empty()) lines.push_back("Groups: " + run.groupsFile);
  lines.push_back("Seed " + std::to_string(run.seed) + ", " + steps + ",");
  lines.push_back("the observed grouping included.");
  lines.push_back("");
  for (const char* line : {
           "Bars: how many steps gave each sum;",
           "the sum adds each species' strongest",
           "indicator value (0-1 scale).",
           "Red line: the observed grouping's sum.",
           "z: (observed - mean) / standard deviation.",
           "p: the share of steps with a sum at",
           "least the observed one.",
       }) {
    lines.emplace_back(line);
  }
  double y = cellTop + kAreaTop - 8;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    y += kTextSize + (lines[k].empty() ? 0 : 6);
    // The run's own facts stand out from the reading guide below them.
    caption.texts.push_back(k < 4 ? Bold({cellLeft + 24, y}, lines[k], kTextSize, Anchor::Start)
                                  : Plain({cellLeft + 24, y}, lines[k], Anchor::Start));
  }
  return caption;
}

}  // namespace

double NiceStep(double rough) {
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double multiple : {1.0, 2.0, 5.0, 10.0}) {
    if (multiple * power >= rough) return multiple * power;
  }
  return 10.0 * power;
}

int DecimalsFor(double step) {
  return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

std::string TickText(double value, int decimals) {
  std::string text = FixedText(value, decimals);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

double NiceStepAtMost(double rough) {
  const double step = NiceStep(rough);
  if (step <= rough) return step;
  // The multiple below: 1 -> 0.5, 2 -> 1, 5 -> 2, 10 -> 5, of the same power of ten.
  const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double multiple = std::round(step / power);
  return (multiple == 1 ? 0.5 : multiple == 2 ? 1 : multiple == 5 ? 2 : 5) * power;
}

namespace {

// The interquartile range of the finite values, by the quartiles R's quantile() gives
// (type 7: linear between the order statistics).
double InterquartileRange(std::vector<double> finite) {
  std::sort(finite.begin(), finite.end());
  const auto quantile = [&finite](double share) {
    const double at = share * static_cast<double>(finite.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(at));
    const std::size_t above = std::min(below + 1, finite.size() - 1);
    return finite[below] + (at - std::floor(at)) * (finite[above] - finite[below]);
  };
  return quantile(0.75) - quantile(0.25);
}

}  // namespace

Bins HistogramBins(const std::vector<float>& values) {
  Bins bins;
  std::vector<double> finite;
  finite.reserve(values.size());
  for (const float value : values) {
    if (std::isfinite(value)) {
      finite.push_back(value);
    } else {
      ++bins.notFinite;
    }
  }
  if (finite.empty()) return bins;
  const auto [smallest, largest] = std::minmax_element(finite.begin(), finite.end());
  const double range = *largest - *smallest;
  const auto n = static_cast<double>(finite.size());
  if (range > 0) {
    // Freedman and Diaconis' width, 2 IQR / n^(1/3), follows the shape of many steps where
    // Sturges' few bins hide it; with at least kFewestBins bins while there are as many
    // steps, and at most kMostBins.
    const double freedmanDiaconis = 2.0 * InterquartileRange(finite) / std::cbrt(n);
    double rough = freedmanDiaconis > 0 ? freedmanDiaconis : range;
    if (n >= kFewestBins) rough = std::min(rough, range / kFewestBins);
    rough = std::max(rough, range / kMostBins);
    bins.width = n >= kFewestBins ? NiceStepAtMost(rough) : NiceStep(rough);
  } else {
    // Every sum the same: one bin about a tenth of the value wide.
    bins.width = *smallest != 0 ? NiceStep(std::fabs(*smallest) / 10) : 1;
  }
  bins.low = std::floor(*smallest / bins.width) * bins.width;
  const auto count = std::max<std::int64_t>(
      1, static_cast<std::int64_t>(std::ceil((*largest - bins.low) / bins.width)));
  bins.counts.assign(static_cast<std::size_t>(count), 0);
  for (const double value : finite) {
    const auto bin = static_cast<std::int64_t>(std::floor((value - bins.low) / bins.width));
    ++bins.counts[static_cast<std::size_t>(std::clamp<std::int64_t>(bin, 0, count - 1))];
  }
  return bins;
}

Axis SumAxis(double low, double high) {
  Axis axis{low, high, {}, {}};
  const double step = NiceStep((high - low) / 4);
  const int decimals = DecimalsFor(step);
  // Ticks are whole multiples of the step, so that rounding cannot move one off the axis.
  const auto first = static_cast<std::int64_t>(std::ceil(low / step - 1e-9));
  const auto last = static_cast<std::int64_t>(std::floor(high / step + 1e-9));
  for (std::int64_t k = first; k <= last; ++k) {
    const double tick = static_cast<double>(k) * step;
    axis.ticks.push_back(tick);
    axis.texts.push_back(TickText(tick, decimals));
  }
  return axis;
}

Axis CountAxis(std::int64_t largest) {
  const double step =
      std::max(1.0, NiceStep(std::max<double>(1, static_cast<double>(largest)) / 4));
  const double top = std::max(1.0, std::ceil(static_cast<double>(largest) / step)) * step;
  Axis axis{0, top, {}, {}};
  for (double tick = 0; tick <= top; tick += step) {
    axis.ticks.push_back(tick);
    axis.texts.push_back(TickText(tick, 0));
  }
  return axis;
}

std::string PanelTitle(const std::string& code, float zScore, double pValue) {
  const std::string z = std::isfinite(zScore) ? FixedText(zScore, 2) : NotFiniteText(zScore);
  const std::string p = std::isfinite(pValue) ? SignificantText(pValue, 3) : NotFiniteText(pValue);
  return code + "   z = " + z + "   p = " + p;
}

Picture DistributionPicture(const std::vector<Distribution>& distributions,
                            const RunDescription& run) {
  Picture picture{kPictureWidth, kPictureHeight, {255, 255, 255}, {}};
  Group heading{"heading", "heading", {}, {}, {}};
  heading.texts.push_back(Bold({kPictureWidth / 2, 26},
                               "Randomization distributions of the summed indicator values",
                               kTitleSize + 2, Anchor::Middle));
  picture.groups.push_back(heading);
  const std::size_t panels = std::min<std::size_t>(distributions.size(), kColumns * 2 - 1);
  for (std::size_t k = 0; k <= panels; ++k) {
    const double left = kCellWidth * static_cast<double>(k % kColumns);
    const double top = kHeadingHeight + kCellHeight * static_cast<double>(k / kColumns);
    picture.groups.push_back(k < panels ? Panel(distributions[k], left, top)
                                        : Caption(run, left, top));
  }
  return picture;
}

}  // namespace kova::plots
