// Which cells of the Input/Output window must be redrawn, and how far its contents must move,
// gathered between two paints. Console output can arrive far faster than a screen can be
// redrawn; the plan lets a thousand appended lines cost one scroll and one small repaint.
#pragma once

#include <vector>

namespace kova::host {

// A rectangle of character cells relative to the view's top left cell; right and bottom are
// exclusive.
struct CellRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool Empty() const { return left >= right || top >= bottom; }
  bool operator==(const CellRect&) const = default;
};

struct RepaintWork {
  int scrollRows = 0;           // the contents move up by this many rows (down when negative)
  int scrollColumns = 0;        // and left by this many columns
  bool everything = false;      // redraw the whole view; the scroll is then moot
  std::vector<CellRect> cells;  // redraw these, after the scroll
  bool scrollBars = false;      // the bars' ranges or positions changed

  bool Empty() const {
    return scrollRows == 0 && scrollColumns == 0 && !everything && cells.empty() && !scrollBars;
  }
};

class RepaintPlan {
 public:
  void Invalidate(const CellRect& cells);
  // The contents move up by `rows` and left by `columns`; cells already marked move with them.
  void Scroll(int rows, int columns);
  void InvalidateEverything() { work_.everything = true; }
  void ScrollBarsChanged() { work_.scrollBars = true; }

  bool Pending() const { return !work_.Empty(); }
  // Hands over what has gathered for a view of the given size (in whole or partial cells)
  // and starts afresh.
  RepaintWork Take(int viewRows, int viewColumns);

 private:
  RepaintWork work_;
};

}  // namespace kova::host
