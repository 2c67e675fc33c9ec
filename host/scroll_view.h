// What part of the transcript the Input/Output window shows, in character cells, and the
// arithmetic of its two scroll bars.
#pragma once

#include <cstddef>

namespace kova::host {

// The scroll bar requests, in the order the window system numbers them. Vertically the first
// two mean a line up and down, horizontally a column left and right; Start and End are the
// top and bottom, or the left and right ends.
enum class ScrollCode {
  LineBack,
  LineForward,
  PageBack,
  PageForward,
  ThumbPosition,
  ThumbTrack,
  Start,
  End,
  EndScroll,
};

struct ScrollView {
  int topLine = 0;     // first visible transcript row
  int leftColumn = 0;  // first visible column
  int visibleRows = 0;
  int visibleColumns = 0;
  int longestLine = 0;  // the longest line appended, or column reached by typing, so far

  // Two rows stay free below the last line, so the caret's row is always in view.
  int VerticalMaximum(std::size_t lineCount) const;
  int HorizontalMaximum() const;

  // Clamps the view into both ranges, as setting the ranges does.
  void ClampToRanges(std::size_t lineCount);

  // The number of rows (columns) a request moves the view, already clamped to the range;
  // 0 for a request that does not move it. `thumb` is the bar's position for the thumb codes.
  int VerticalStep(ScrollCode code, int thumb, std::size_t lineCount) const;
  int HorizontalStep(ScrollCode code, int thumb) const;
};

}  // namespace kova::host
