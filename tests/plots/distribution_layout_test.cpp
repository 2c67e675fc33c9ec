// The layout of the distributions' picture: its scales, bins, ticks and texts, one case a
// line, and where the bars and the observed line fall in a whole panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "plots/distribution_layout.h"

namespace kova::plots {
namespace {

TEST(DistributionLayout, NiceStepsDecimalsAndTickTexts) {
  const struct {
    double rough, step;
    int decimals;
  } steps[] = {{0.49, 0.5, 1}, {0.5, 0.5, 1},    {0.51, 1, 0},  {1.2, 2, 0},     {3, 5, 0},
               {7, 10, 0},     {0.013, 0.02, 2}, {120, 200, 0}, {1e-5, 1e-5, 5}, {0.1, 0.1, 1}};
  for (const auto& c : steps) {
    EXPECT_DOUBLE_EQ(NiceStep(c.rough), c.step) << c.rough;
    EXPECT_EQ(DecimalsFor(NiceStep(c.rough)), c.decimals) << c.rough;
  }
  const struct {
    double value;
    int decimals;
    const char* text;
  } texts[] = {{7.5, 1, "7.5"},      {0.30000000000000004, 1, "0.3"},
               {-0.0001, 2, "0.00"}, {-0.5, 1, "-0.5"},
               {1200, 0, "1200"},    {2.25, 1, "2.2"}};
  for (const auto& c : texts)
    EXPECT_EQ(TickText(c.value, c.decimals), c.text) << c.value;
}

TEST(DistributionLayout, BinsFollowFreedmanAndDiaconisOnNiceBoundaries) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* name;
    std::vector<float> values;
    double low, width;
    std::vector<std::int64_t> counts;
    std::int64_t notFinite;
  } cases[] = {
      // 8 values, interquartile range 1.925: 2 x 1.925 / 2 rounds up to bins 2 wide from 4.
      {"spread", {5.1f, 5.9f, 6.0f, 6.5f, 7.2f, 7.9f, 7.95f, 7.9f}, 4, 2, {2, 6}, 0},
      // 11 values over 5: at least ten bins, the width rounded down to 0.5. A value on a
      // boundary goes up; the largest on the last boundary stays in the last bin.
      {"boundaries",
       {0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 3.5f, 4.0f, 4.5f, 5.0f},
       0, 0.5, {1, 1, 1, 1, 1, 1, 1, 1, 1, 2}, 0},
      // No spread between the quartiles: ten bins over the range.
      {"equal quartiles", {1, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 5}, 1, 0.2,
       {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 0},
      {"all equal", {2.5f, 2.5f, 2.5f}, 2.5, 0.5, {3}, 0},
      {"all zero", {0.0f, 0.0f}, 0, 1, {2}, 0},
      {"one value", {10.427319f}, 10, 2, {1}, 0},
      {"not finite", {1.0f, inf, 2.0f, nan}, 1, 1, {2}, 2},
      {"nothing finite", {inf, nan}, 0, 1, {}, 2},
  };
  for (const auto& c : cases) {
    const Bins bins = HistogramBins(c.values);
    EXPECT_DOUBLE_EQ(bins.low, c.low) << c.name;
    EXPECT_DOUBLE_EQ(bins.width, c.width) << c.name;
    EXPECT_EQ(bins.counts, c.counts) << c.name;
    EXPECT_EQ(bins.notFinite, c.notFinite) << c.name;
  }
  // A thousand sums shaped like a bell: more bins than Sturges' 11 show its shape.
  std::vector<float> bell;
  std::uint32_t state = 1;
  for (int k = 0; k < 1000; ++k) {
    float sum = 0;
    for (int draw = 0; draw < 4; ++draw) {
      state = state * 1664525U + 1013904223U;
      sum += static_cast<float>(state >> 8) / 16777216.0f;
    }
    bell.push_back(sum);
  }
  const Bins bins = HistogramBins(bell);
  EXPECT_GE(bins.counts.size(), 15U);
  EXPECT_LE(bins.counts.size(), 40U);
  EXPECT_EQ(std::accumulate(bins.counts.begin(), bins.counts.end(), std::int64_t{0}), 1000);
  EXPECT_EQ(bins.width, NiceStep(bins.width));
}

TEST(DistributionLayout, AxesTickWithinTheirRange) {
  const struct {
    double low, high;
    std::vector<std::string> texts;
  } sums[] = {{5, 11, {"6", "8", "10"}},
              {0.2, 0.35, {"0.20", "0.25", "0.30", "0.35"}},
              {-1, 1, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
              {9.5, 10.5, {"9.5", "10.0", "10.5"}},
              {5, 12, {"6", "8", "10", "12"}}};
  for (const auto& c : sums)
    EXPECT_EQ(SumAxis(c.low, c.high).texts, c.texts) << c.low << " to " << c.high;
  const struct {
    std::int64_t largest;
    double top;
    std::vector<std::string> texts;
  } counts[] = {{268, 300, {"0", "100", "200", "300"}},
                {3, 3, {"0", "1", "2", "3"}},
                {0, 1, {"0", "1"}},
                {999, 1000, {"0", "500", "1000"}},
                {12, 15, {"0", "5", "10", "15"}}};
  for (const auto& c : counts) {
    const Axis axis = CountAxis(c.largest);
    EXPECT_EQ(axis.high, c.top) << c.largest;
    EXPECT_EQ(axis.texts, c.texts) << c.largest;
  }
}

TEST(DistributionLayout, PanelTitlesGiveZAndP) {
  EXPECT_EQ(PanelTitle("APCF", 3.50415f, 2.0 / 999), "APCF   z = 3.50   p = 0.002");
  EXPECT_EQ(PanelTitle("PCF", 3.10537f, 5.0 / 999), "PCF   z = 3.11   p = 0.00501");
  EXPECT_EQ(PanelTitle("ASF", -0.004f, 1.0), "ASF   z = -0.00   p = 1");
  EXPECT_EQ(PanelTitle("ACF", -std::numeric_limits<float>::quiet_NaN(), 1.0),
            "ACF   z = NaN   p = 1");
  EXPECT_EQ(PanelTitle("PSF", std::numeric_limits<float>::infinity(), 0.5),
            "PSF   z = Inf   p = 0.5");
}

const Text* FindText(const Group& group, const std::string& start) {
  for (const Text& text : group.texts) {
    if (text.text.rfind(start, 0) == 0) return &text;
  }
  return nullptr;
}

// A panel's bars stand on its x axis, their heights in proportion to their counts, and the
// observed line stands where the sums' axis puts the observed sum.
TEST(DistributionLayout, BarsAndTheObservedLineFallOnTheScales) {
  std::vector<Distribution> distributions;
  for (const char* code : {"APCF", "ACF", "ASF", "PCF", "PSF"}) {
    // 9 sums: 5 bins 1 wide from 1, counts 1, 1, 3, 2, 2; the observed sum 5.5.
    distributions.push_back(
        {code, {5.5f, 1.5f, 2.5f, 3.5f, 3.5f, 3.5f, 4.5f, 4.5f, 5.5f}, 5.5f, 2.0f, 2.0 / 9});
  }
  const Picture picture = DistributionPicture(distributions, {"community.csv", "groups.csv", 7, 9});
  EXPECT_EQ(picture.width, kPictureWidth);
  EXPECT_EQ(picture.height, kPictureHeight);
  ASSERT_EQ(picture.groups.size(), 7U);  // heading, five panels, caption
  EXPECT_EQ(picture.groups[6].kind, "caption");
  // The caption says what the run was given.
  for (const char* line : {"Data: community.csv", "Groups: groups.csv", "Seed 7, 9 steps,"})
    EXPECT_NE(FindText(picture.groups[6], line), nullptr) << line;

  for (std::size_t k = 1; k <= 5; ++k) {
    const Group& panel = picture.groups[k];
    EXPECT_EQ(panel.kind, "panel");
    EXPECT_EQ(panel.name, distributions[k - 1].code);
    ASSERT_NE(FindText(panel, panel.name + "   z = 2.00   p = 0.222"), nullptr);
    ASSERT_EQ(panel.boxes.size(), 5U);
    const double bottom = panel.boxes[0].top + panel.boxes[0].height;
    const double unit = panel.boxes[0].height;  // one step
    const double counts[] = {1, 1, 3, 2, 2};
    for (std::size_t bar = 0; bar < 5; ++bar) {
      EXPECT_NEAR(panel.boxes[bar].top + panel.boxes[bar].height, bottom, 1e-9);
      EXPECT_NEAR(panel.boxes[bar].height, unit * counts[bar], 1e-9) << "bar " << bar;
      if (bar > 0) {
        EXPECT_NEAR(panel.boxes[bar].left, panel.boxes[bar - 1].left + panel.boxes[bar - 1].width,
                    1e-9);
      }
    }
    // The sums' axis runs from 1 to 6, the bars' span: 5.5 is nine tenths along it.
    const double left = panel.boxes[0].left;
    const double right = panel.boxes[4].left + panel.boxes[4].width;
    const auto observed =
        std::find_if(panel.lines.begin(), panel.lines.end(), [](const Line& line) {
          return line.colour == Colour{214, 39, 40};
        });
    ASSERT_NE(observed, panel.lines.end());
    EXPECT_NEAR(observed->from.x, left + 0.9 * (right - left), 1e-9);
    EXPECT_EQ(observed->from.x, observed->to.x);
    // The panels fill the grid row by row, within the picture.
    EXPECT_GE(left, static_cast<double>((k - 1) % 3) * kPictureWidth / 3);
    EXPECT_LE(right, static_cast<double>((k - 1) % 3 + 1) * kPictureWidth / 3);
    ASSERT_NE(FindText(panel, "steps"), nullptr);
    EXPECT_EQ(FindText(panel, "steps")->direction, Direction::Upright);
  }
  EXPECT_LT(picture.groups[1].boxes[0].top, picture.groups[4].boxes[0].top);
}

}  // namespace
}  // namespace kova::plots
