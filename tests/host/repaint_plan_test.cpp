// The repaint plan: many changes between two paints become one scroll and a few rectangles.
#include "host/repaint_plan.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kova::host {
namespace {

TEST(RepaintPlan, MarkedCellsMoveWithTheContents) {
  RepaintPlan plan;
  plan.Invalidate({0, 8, 20, 9});
  plan.Scroll(1, 0);
  plan.Invalidate({0, 8, 5, 9});
  const RepaintWork work = plan.Take(10, 80);
  EXPECT_EQ(work.scrollRows, 1);
  EXPECT_EQ(work.cells, (std::vector<CellRect>{{0, 7, 20, 9}}));  // touching rows merge
  EXPECT_FALSE(plan.Pending());
}

TEST(RepaintPlan, CellsOutsideTheViewAreDropped) {
  RepaintPlan plan;
  plan.Invalidate({0, 0, 10, 1});
  plan.Scroll(3, 0);  // that row is now above the view
  plan.Invalidate({-5, 2, 1000, 3});
  EXPECT_EQ(plan.Take(10, 80).cells, (std::vector<CellRect>{{0, 2, 80, 3}}));
}

TEST(RepaintPlan, AScrollOfAWholeViewRedrawsEverything) {
  RepaintPlan plan;
  for (int line = 0; line < 12; ++line) {
    plan.Invalidate({0, 8, 30, 9});
    plan.Scroll(1, 0);
  }
  const RepaintWork work = plan.Take(10, 80);
  EXPECT_TRUE(work.everything);
  EXPECT_EQ(work.scrollRows, 0);
  EXPECT_TRUE(work.cells.empty());
}

TEST(RepaintPlan, ManySeparateRectanglesAreBoundedTogether) {
  RepaintPlan plan;
  for (int row = 0; row < 40; row += 2)
    plan.Invalidate({row, row, row + 1, row + 1});
  const std::vector<CellRect> cells = plan.Take(40, 80).cells;
  EXPECT_LE(cells.size(), 8u);
  for (int row = 0; row < 40; row += 2) {  // every marked cell is still covered
    const bool covered = std::any_of(cells.begin(), cells.end(), [row](const CellRect& r) {
      return r.left <= row && row < r.right && r.top <= row && row < r.bottom;
    });
    EXPECT_TRUE(covered) << row;
  }
}

}  // namespace
}  // namespace kova::host
