// The Input/Output window without its pixels: the transcript, the caret, typing, scrolling,
// the selection and the edit commands. Every input arrives as a plain call (a character, a
// key, a scroll request, a cell under the pointer); what must be redrawn gathers in the
// repaint plan, and what the host must know is reported through the two callbacks.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "host/line_selection.h"
#include "host/repaint_plan.h"
#include "host/scroll_view.h"
#include "host/transcript.h"

namespace kova::host {

enum class EditKey { PageUp, PageDown, End, Home, Up, Down, Left, Right, Insert, Delete };

inline constexpr unsigned char kEnter = 13;
inline constexpr unsigned char kBackspace = 8;
inline constexpr unsigned char kTab = 9;
// At most this many bytes of the clipboard are pasted.
inline constexpr std::size_t kLongestPaste = 1024;

class InputOutputWindow {
 public:
  explicit InputOutputWindow(Transcript& transcript) : transcript_(transcript) {}

  // A line was completed with Enter (typed, pasted, or ending an appended line).
  std::function<void(std::size_t row)> lineCompleted;
  // Cut, Copy and Delete become usable (true) or are grayed (false).
  std::function<void(bool usable)> selectionCommands;

  // The window's size in whole cells.
  void Resize(int visibleRows, int visibleColumns);

  // One line of console output.
  void AppendLine(std::string_view text);

  // A typed character: Enter, Backspace and TAB have their own rules, every other code is
  // inserted at the caret.
  void Character(unsigned char code);
  void Key(EditKey key);
  void ScrollVertically(ScrollCode code, int thumb = 0);
  void ScrollHorizontally(ScrollCode code, int thumb = 0);

  // The mouse, in cells of the view (column and row from the view's top left cell).
  void ButtonDown();
  void PointerMoved(int viewColumn, int viewRow);
  void ButtonUp();
  void DoubleClick(int viewColumn, int viewRow);

  // The edit commands.
  std::optional<std::string> SelectedText() const;
  void DeleteSelection();
  void Paste(std::string_view bytes);

  const Transcript& Lines() const { return transcript_; }
  const ScrollView& View() const { return view_; }
  int CaretColumn() const { return caretColumn_; }
  int CaretRow() const { return caretRow_; }
  bool AtLineStart() const { return atLineStart_; }
  const std::optional<Selection>& CurrentSelection() const { return selection_.Current(); }
  RepaintPlan& Repaint() { return repaint_; }

 private:
  int LineCount() const { return static_cast<int>(transcript_.LineCount()); }
  int InputLineLength() const;
  void BringEndIntoView();
  int MakeRoomForLine(std::size_t size);
  void RecomputeRanges();
  void Enter();
  void InsertCharacter(unsigned char code);
  void InsertBlankAtCaret();
  void DeleteAtCaret();
  void AppendAboveTypedLine(std::string_view text);
  void ScrollDownAfterNewLine();
  void InvalidateFromCaret();
  void InvalidateSelection();
  void RemoveSelection();
  void SetSelectionCommands(bool usable);

  Transcript& transcript_;
  ScrollView view_;
  LineSelection selection_;
  RepaintPlan repaint_;
  int caretColumn_ = 0;
  int caretRow_ = 0;
  bool atLineStart_ = true;  // no line is being typed: the next character opens one
  bool selectionCommandsUsable_ = false;
};

}  // namespace kova::host
