#include "host/input_output_window.h"

#include <algorithm>

namespace kova::host {
namespace {

// Columns to the right edge of a row, partial last cell included.
constexpr int kToRowEnd = 1 << 20;
constexpr int kTabWidth = 8;

}  // namespace

void InputOutputWindow::Resize(int visibleRows, int visibleColumns) {
  view_.visibleRows = std::max(visibleRows, 0);
  view_.visibleColumns = std::max(visibleColumns, 0);
  RecomputeRanges();
  repaint_.InvalidateEverything();
}

// Sets both bars from the view; a view that no longer fits its range moves back into it.
void InputOutputWindow::RecomputeRanges() {
  const int top = view_.topLine;
  const int left = view_.leftColumn;
  view_.ClampToRanges(transcript_.LineCount());
  if (view_.topLine != top || view_.leftColumn != left) repaint_.InvalidateEverything();
  repaint_.ScrollBarsChanged();
}

// Output and typing always happen at the end: a view far from it jumps to the bottom.
void InputOutputWindow::BringEndIntoView() {
  if (view_.topLine + view_.visibleRows + 2 < LineCount()) ScrollVertically(ScrollCode::End);
}

// Before a line of output: the end comes into view, and the sideways range grows to the
// line's length. Returns that length.
int InputOutputWindow::MakeRoomForLine(std::size_t size) {
  BringEndIntoView();
  const int length = static_cast<int>(size);
  view_.longestLine = std::max(view_.longestLine, length);
  if (view_.visibleColumns < length + 1) RecomputeRanges();
  return length;
}

void InputOutputWindow::AppendLine(std::string_view text) {
  if (!atLineStart_) {
    AppendAboveTypedLine(text);
    return;
  }
  const int length = MakeRoomForLine(text.size());
  transcript_.OpenLine();
  atLineStart_ = false;
  transcript_.AppendToLastLine(text);
  const int row = caretRow_ - view_.topLine;
  repaint_.Invalidate({caretColumn_ - view_.leftColumn, row, length, row + 1});
  Character(kEnter);
}

// Output that arrives while the user is typing a line goes above that line, which keeps its
// text and its caret: nothing typed is split or lost.
void InputOutputWindow::AppendAboveTypedLine(std::string_view text) {
  MakeRoomForLine(text.size());
  const int inputRow = caretRow_;
  transcript_.InsertLine(static_cast<std::size_t>(inputRow), text);
  caretRow_ += 1;
  selection_.MoveRowsDown(inputRow);
  repaint_.Invalidate({0, inputRow - view_.topLine, kToRowEnd, LineCount() - view_.topLine});
  ScrollDownAfterNewLine();
}

void InputOutputWindow::Character(unsigned char code) {
  InvalidateSelection();
  RemoveSelection();
  switch (code) {
    case kEnter:
      Enter();
      return;
    case kBackspace:
      if (caretColumn_ > 0) {
        caretColumn_ -= 1;
        DeleteAtCaret();
      }
      return;
    case kTab:
      do {
        Character(' ');
      } while (caretColumn_ % kTabWidth != 0);
      return;
    default:
      InsertCharacter(code);
  }
}

void InputOutputWindow::Enter() {
  if (atLineStart_) {
    // Nothing was typed: the empty answer is a line of its own.
    BringEndIntoView();
    transcript_.OpenLine();
  }
  const auto completedRow = transcript_.LineCount() - 1;
  caretColumn_ = 0;
  caretRow_ += 1;
  atLineStart_ = true;
  if (view_.leftColumn != 0) ScrollHorizontally(ScrollCode::Start);
  ScrollDownAfterNewLine();
  if (lineCompleted) lineCompleted(completedRow);
}

// Once the window is full, every new line moves the view up by one row.
void InputOutputWindow::ScrollDownAfterNewLine() {
  if (LineCount() + 2 <= view_.visibleRows) return;
  const int top = view_.topLine;
  view_.topLine += 1;
  view_.ClampToRanges(transcript_.LineCount());
  repaint_.ScrollBarsChanged();
  if (view_.topLine != top) repaint_.Scroll(view_.topLine - top, 0);
}

void InputOutputWindow::InsertCharacter(unsigned char code) {
  BringEndIntoView();
  if (atLineStart_) {
    transcript_.OpenLine();
    caretRow_ = LineCount() - 1;
  }
  atLineStart_ = false;
  // Typing always inserts; there is no overwrite mode.
  transcript_.InsertByte(static_cast<std::size_t>(caretRow_),
                         static_cast<std::size_t>(caretColumn_), static_cast<char>(code));
  InvalidateFromCaret();
  caretColumn_ += 1;
  view_.longestLine = std::max(view_.longestLine, caretColumn_);
  if (view_.visibleColumns < caretColumn_ + 1) {
    ScrollHorizontally(ScrollCode::LineForward);
    RecomputeRanges();
  }
}

int InputOutputWindow::InputLineLength() const {
  return atLineStart_
             ? 0
             : static_cast<int>(transcript_.LineLength(static_cast<std::size_t>(caretRow_)));
}

void InputOutputWindow::InsertBlankAtCaret() {
  transcript_.InsertByte(static_cast<std::size_t>(caretRow_),
                         static_cast<std::size_t>(caretColumn_), ' ');
  InvalidateFromCaret();
}

// Removes the character under the caret; with the caret after the last typed character
// there is none, and nothing happens.
void InputOutputWindow::DeleteAtCaret() {
  if (atLineStart_ || caretColumn_ >= InputLineLength()) return;
  transcript_.EraseBytes(static_cast<std::size_t>(caretRow_),
                         static_cast<std::size_t>(caretColumn_), 1);
  InvalidateFromCaret();
}

void InputOutputWindow::InvalidateFromCaret() {
  const int row = caretRow_ - view_.topLine;
  repaint_.Invalidate({caretColumn_ - view_.leftColumn, row, kToRowEnd, row + 1});
}

void InputOutputWindow::Key(EditKey key) {
  switch (key) {
    case EditKey::PageUp:
      ScrollVertically(ScrollCode::PageBack);
      return;
    case EditKey::PageDown:
      ScrollVertically(ScrollCode::PageForward);
      return;
    case EditKey::End:
      ScrollVertically(ScrollCode::End);
      return;
    case EditKey::Home:
      ScrollVertically(ScrollCode::Start);
      return;
    case EditKey::Up:
      ScrollVertically(ScrollCode::LineBack);
      return;
    case EditKey::Down:
      ScrollVertically(ScrollCode::LineForward);
      return;
    case EditKey::Left:
      caretColumn_ = std::max(caretColumn_ - 1, 0);
      return;
    case EditKey::Right:
      if (!atLineStart_) caretColumn_ = std::min(caretColumn_ + 1, InputLineLength());
      return;
    case EditKey::Insert:
      if (!atLineStart_) InsertBlankAtCaret();
      return;
    case EditKey::Delete:
      DeleteAtCaret();
      return;
  }
}

void InputOutputWindow::ScrollVertically(ScrollCode code, int thumb) {
  const int step = view_.VerticalStep(code, thumb, transcript_.LineCount());
  if (step == 0) return;
  view_.topLine += step;
  repaint_.Scroll(step, 0);
  repaint_.ScrollBarsChanged();
}

void InputOutputWindow::ScrollHorizontally(ScrollCode code, int thumb) {
  const int step = view_.HorizontalStep(code, thumb);
  if (step == 0) return;
  view_.leftColumn += step;
  repaint_.Scroll(0, step);
  repaint_.ScrollBarsChanged();
}

void InputOutputWindow::ButtonDown() {
  InvalidateSelection();
  selection_.Press();
  SetSelectionCommands(false);
}

void InputOutputWindow::PointerMoved(int viewColumn, int viewRow) {
  if (!selection_.Dragging()) return;
  const int column = view_.leftColumn + viewColumn;
  const int row = view_.topLine + viewRow;
  if (row < 0 || row >= LineCount()) return;
  InvalidateSelection();
  selection_.Move(column, row,
                  static_cast<int>(transcript_.LineLength(static_cast<std::size_t>(row))));
  InvalidateSelection();
}

void InputOutputWindow::ButtonUp() {
  if (selection_.Release()) SetSelectionCommands(true);
}

void InputOutputWindow::DoubleClick(int viewColumn, int viewRow) {
  InvalidateSelection();
  const int row = view_.topLine + viewRow;
  if (row < 0 || row >= LineCount()) {
    RemoveSelection();
    return;
  }
  selection_.SelectWord(view_.leftColumn + viewColumn, row,
                        transcript_.Line(static_cast<std::size_t>(row)));
  InvalidateSelection();
}

std::optional<std::string> InputOutputWindow::SelectedText() const {
  const auto& selection = selection_.Current();
  if (!selection) return std::nullopt;
  return std::string(transcript_.Line(static_cast<std::size_t>(selection->row))
                         .substr(static_cast<std::size_t>(selection->start),
                                 static_cast<std::size_t>(selection->Width())));
}

// Any line can be edited this way, output lines as well as the line being typed.
void InputOutputWindow::DeleteSelection() {
  const auto& current = selection_.Current();
  if (!current) return;
  const Selection selection = *current;
  transcript_.EraseBytes(static_cast<std::size_t>(selection.row),
                         static_cast<std::size_t>(selection.start),
                         static_cast<std::size_t>(selection.Width()));
  if (selection.row == caretRow_ && caretColumn_ > selection.start) {
    caretColumn_ =
        caretColumn_ > selection.end ? caretColumn_ - selection.Width() : selection.start;
  }
  const int row = selection.row - view_.topLine;
  repaint_.Invalidate({selection.start - view_.leftColumn, row, kToRowEnd, row + 1});
  InvalidateSelection();
  RemoveSelection();
}

// Pasted bytes arrive as typed characters: a CR completes a line, a TAB is the TAB key, and
// a byte above 127 is inserted as that same byte.
void InputOutputWindow::Paste(std::string_view bytes) {
  bytes = bytes.substr(0, std::min(bytes.find('\0'), kLongestPaste));
  for (const char byte : bytes)
    Character(static_cast<unsigned char>(byte));
}

void InputOutputWindow::InvalidateSelection() {
  const auto& selection = selection_.Current();
  if (!selection) return;
  const int row = selection->row - view_.topLine;
  repaint_.Invalidate(
      {selection->start - view_.leftColumn, row, selection->end - view_.leftColumn, row + 1});
}

void InputOutputWindow::RemoveSelection() {
  selection_.Clear();
  SetSelectionCommands(false);
}

void InputOutputWindow::SetSelectionCommands(bool usable) {
  if (usable == selectionCommandsUsable_) return;
  selectionCommandsUsable_ = usable;
  if (selectionCommands) selectionCommands(usable);
}

}  // namespace kova::host
