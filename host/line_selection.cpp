#include "host/line_selection.h"

#include <algorithm>
#include <cstdlib>

namespace kova::host {

void LineSelection::Press() {
  selection_.reset();
  dragging_ = true;
}

void LineSelection::Move(int column, int row, int lineLength) {
  if (!dragging_) return;
  column = std::max(column, 0);
  if (!selection_) {
    if (column <= lineLength) selection_ = Selection{row, column, column};
    return;
  }
  Selection& selection = *selection_;
  if (selection.row != row) return;
  if (column < selection.start) {
    selection.start = column;
  } else if (column > selection.end) {
    selection.end = std::min(column, lineLength);
  } else if (std::abs(column - selection.start) < std::abs(column - selection.end)) {
    selection.start = column;  // within the selection the nearer end follows; a tie moves the end
  } else {
    selection.end = column;
  }
}

bool LineSelection::Release() {
  dragging_ = false;
  if (selection_ && selection_->Width() == 0) selection_.reset();
  return selection_.has_value();
}

void LineSelection::SelectWord(int column, int row, std::string_view line) {
  // Right of the line's end the scans start at the end: nothing beyond the line is taken.
  const int length = static_cast<int>(line.size());
  column = std::clamp(column, 0, length);
  int start = column - 1;
  while (start >= 0 && line[static_cast<std::size_t>(start)] != ' ')
    --start;
  int end = column;
  while (end < length && line[static_cast<std::size_t>(end)] != ' ')
    ++end;
  selection_ = Selection{row, start + 1, end};
  dragging_ = false;
}

}  // namespace kova::host
