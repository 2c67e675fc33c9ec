#include "host/repaint_plan.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kova::host {
namespace {

// More separate rectangles than this are drawn as the one that bounds them.
constexpr std::size_t kMostRectangles = 8;

CellRect Bounding(const CellRect& a, const CellRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

bool Touching(const CellRect& a, const CellRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

void RepaintPlan::Invalidate(const CellRect& cells) {
  if (cells.Empty() || work_.everything) return;
  CellRect merged = cells;
  auto& list = work_.cells;
  for (auto it = list.begin(); it != list.end();) {
    if (Touching(*it, merged)) {
      merged = Bounding(*it, merged);
      it = list.erase(it);
    } else {
      ++it;
    }
  }
  list.push_back(merged);
  if (list.size() > kMostRectangles) {
    CellRect all = list.front();
    for (const CellRect& rect : list)
      all = Bounding(all, rect);
    list.assign(1, all);
  }
}

void RepaintPlan::Scroll(int rows, int columns) {
  if (work_.everything) return;
  work_.scrollRows += rows;
  work_.scrollColumns += columns;
  for (CellRect& rect : work_.cells) {
    rect.left -= columns;
    rect.right -= columns;
    rect.top -= rows;
    rect.bottom -= rows;
  }
}

RepaintWork RepaintPlan::Take(int viewRows, int viewColumns) {
  RepaintWork work = std::exchange(work_, RepaintWork{});
  // Moving the contents by a whole view or more leaves nothing worth moving.
  if (std::abs(work.scrollRows) >= viewRows || std::abs(work.scrollColumns) >= viewColumns) {
    work.everything = true;
  }
  if (work.everything) {
    work.scrollRows = work.scrollColumns = 0;
    work.cells.clear();
    return work;
  }
  std::vector<CellRect> visible;
  for (const CellRect& rect : work.cells) {
    const CellRect clipped{std::max(rect.left, 0), std::max(rect.top, 0),
                           std::min(rect.right, viewColumns), std::min(rect.bottom, viewRows)};
    if (!clipped.Empty()) visible.push_back(clipped);
  }
  work.cells = std::move(visible);
  return work;
}

}  // namespace kova::host
