#include "host/scroll_view.h"

#include <algorithm>

namespace kova::host {
namespace {

// Horizontal page requests move by a fixed eight columns, whatever the window's width.
constexpr int kHorizontalPage = 8;

int ClampedStep(int step, int position, int maximum) {
  return std::clamp(position + step, 0, std::max(maximum, 0)) - position;
}

}  // namespace

int ScrollView::VerticalMaximum(std::size_t lineCount) const {
  return std::max(0, static_cast<int>(lineCount) - visibleRows + 2);
}

int ScrollView::HorizontalMaximum() const {
  return std::max(0, longestLine - visibleColumns);
}

void ScrollView::ClampToRanges(std::size_t lineCount) {
  topLine = std::clamp(topLine, 0, VerticalMaximum(lineCount));
  leftColumn = std::clamp(leftColumn, 0, HorizontalMaximum());
}

int ScrollView::VerticalStep(ScrollCode code, int thumb, std::size_t lineCount) const {
  const int maximum = VerticalMaximum(lineCount);
  const int page = std::max(visibleRows, 1);
  int step = 0;
  switch (code) {
    case ScrollCode::LineBack:
      step = -1;
      break;
    case ScrollCode::LineForward:
      step = 1;
      break;
    case ScrollCode::PageBack:
      step = -page;
      break;
    case ScrollCode::PageForward:
      step = page;
      break;
    // The view follows the thumb while it is dragged.
    case ScrollCode::ThumbTrack:
      step = thumb - topLine;
      break;
    case ScrollCode::Start:
      step = -topLine;
      break;
    case ScrollCode::End:
      step = maximum - topLine;
      break;
    case ScrollCode::ThumbPosition:
    case ScrollCode::EndScroll:
      break;
  }
  return ClampedStep(step, topLine, maximum);
}

int ScrollView::HorizontalStep(ScrollCode code, int thumb) const {
  int step = 0;
  switch (code) {
    case ScrollCode::LineBack:
      step = -1;
      break;
    case ScrollCode::LineForward:
      step = 1;
      break;
    case ScrollCode::PageBack:
      step = -kHorizontalPage;
      break;
    case ScrollCode::PageForward:
      step = kHorizontalPage;
      break;
    // Sideways the view moves only when the thumb is released.
    case ScrollCode::ThumbPosition:
      step = thumb - leftColumn;
      break;
    case ScrollCode::Start:
      step = -leftColumn;
      break;
    case ScrollCode::ThumbTrack:
    case ScrollCode::End:
    case ScrollCode::EndScroll:
      break;
  }
  return ClampedStep(step, leftColumn, HorizontalMaximum());
}

}  // namespace kova::host
