// The Input/Output window's one selection: a run of characters on one line, made with the
// mouse. The mouse never moves the caret.
#pragma once

#include <optional>
#include <string_view>

namespace kova::host {

struct Selection {
  int row = 0;    // transcript row
  int start = 0;  // first selected column
  int end = 0;    // one past the last selected column

  int Width() const { return end - start; }
  bool operator==(const Selection&) const = default;
};

class LineSelection {
 public:
  const std::optional<Selection>& Current() const { return selection_; }
  bool Dragging() const { return dragging_; }

  // The left button goes down: the old selection goes, a drag begins.
  void Press();
  // The pointer moves over cell (column, row) of a line `lineLength` long while the button
  // is held. The selection is anchored at the first cell the drag crosses, not at the press.
  void Move(int column, int row, int lineLength);
  // The button comes up; a selection of no width goes. True when a selection remains.
  bool Release();
  // A double click on cell (column, row): the word around it, bounded by blanks.
  void SelectWord(int column, int row, std::string_view line);
  void Clear() { selection_.reset(); }
  // A line was inserted at `row`: a selection on it or below moves down with its text.
  void MoveRowsDown(int row) {
    if (selection_ && selection_->row >= row) selection_->row += 1;
  }

 private:
  std::optional<Selection> selection_;
  bool dragging_ = false;
};

}  // namespace kova::host
