// The Input/Output window's rules without a display: typing, the caret, scrolling, the
// selection and the edit commands, observed on the transcript, the view and the repaint plan.
#include "host/input_output_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kova::host {
namespace {

class WindowModel : public ::testing::Test {
 protected:
  WindowModel() {
    window_.lineCompleted = [this](std::size_t row) { completed_.push_back(row); };
    window_.selectionCommands = [this](bool usable) { commands_.push_back(usable); };
    window_.Resize(10, 80);
  }

  void Type(std::string_view text) {
    for (const char c : text)
      window_.Character(static_cast<unsigned char>(c));
  }
  std::string Line(std::size_t row) const { return std::string(transcript_.Line(row)); }
  std::vector<std::string> AllLines() const {
    std::vector<std::string> lines;
    for (std::size_t row = 0; row < transcript_.LineCount(); ++row)
      lines.push_back(Line(row));
    return lines;
  }
  void Drag(std::initializer_list<std::pair<int, int>> cells) {
    window_.ButtonDown();
    for (const auto& [column, row] : cells)
      window_.PointerMoved(column, row);
    window_.ButtonUp();
  }

  Transcript transcript_;
  InputOutputWindow window_{transcript_};
  std::vector<std::size_t> completed_;
  std::vector<bool> commands_;
};

TEST_F(WindowModel, TabFillsWithBlanksToTheNextMultipleOfEight) {
  struct Case {
    std::string before;
    std::size_t blanks;
  };
  for (const Case& c : {Case{"", 8}, Case{"abcde", 3}, Case{"abcdefgh", 8}}) {
    Transcript transcript;
    InputOutputWindow window(transcript);
    window.Resize(10, 80);
    for (const char ch : c.before)
      window.Character(static_cast<unsigned char>(ch));
    window.Character(kTab);
    EXPECT_EQ(transcript.Line(0), c.before + std::string(c.blanks, ' ')) << c.before;
    EXPECT_EQ(window.CaretColumn(), static_cast<int>(c.before.size() + c.blanks));
  }
}

TEST_F(WindowModel, CaretKeysStopAtTheEndsOfTheTypedText) {
  window_.Character(kBackspace);  // nothing typed: nothing happens
  window_.Key(EditKey::Left);
  window_.Key(EditKey::Right);
  EXPECT_EQ(transcript_.LineCount(), 0u);
  EXPECT_EQ(window_.CaretColumn(), 0);

  Type("abc");
  window_.Key(EditKey::Right);
  EXPECT_EQ(window_.CaretColumn(), 3);  // not beyond the typed text
  for (int k = 0; k < 5; ++k)
    window_.Key(EditKey::Left);
  EXPECT_EQ(window_.CaretColumn(), 0);
  window_.Character(kBackspace);  // at column 0 Backspace does nothing
  EXPECT_EQ(Line(0), "abc");
  window_.Key(EditKey::Right);
  window_.Character(kBackspace);
  EXPECT_EQ(Line(0), "bc");
  EXPECT_EQ(window_.CaretColumn(), 0);
  Type("x");  // typing inserts at the caret
  EXPECT_EQ(Line(0), "xbc");
  window_.Key(EditKey::Insert);
  EXPECT_EQ(Line(0), "x bc");
  EXPECT_EQ(window_.CaretColumn(), 1);
  window_.Key(EditKey::Delete);
  EXPECT_EQ(Line(0), "xbc");
  // With the caret after the last character, Delete has nothing to remove.
  for (int k = 0; k < 5; ++k)
    window_.Key(EditKey::Right);
  window_.Key(EditKey::Delete);
  EXPECT_EQ(Line(0), "xbc");
}

TEST_F(WindowModel, EnterCompletesTheTypedLineOrAnEmptyOne) {
  Type("data.txt");
  window_.Character(kEnter);
  window_.Character(kEnter);  // an empty answer is a line of its own
  EXPECT_EQ(AllLines(), (std::vector<std::string>{"data.txt", ""}));
  EXPECT_EQ(completed_, (std::vector<std::size_t>{0, 1}));
  EXPECT_TRUE(window_.AtLineStart());
  EXPECT_EQ(window_.CaretRow(), 2);
  EXPECT_EQ(window_.CaretColumn(), 0);
  EXPECT_FALSE(transcript_.Saved());
}

TEST_F(WindowModel, AFullWindowScrollsOneRowPerLineFromTheNinthLine) {
  for (int line = 1; line <= 8; ++line)
    window_.AppendLine("line " + std::to_string(line));
  EXPECT_EQ(window_.View().topLine, 0);
  EXPECT_EQ(window_.View().VerticalMaximum(transcript_.LineCount()), 0);
  (void)window_.Repaint().Take(10, 80);

  window_.AppendLine("line 9");
  EXPECT_EQ(window_.View().topLine, 1);
  const RepaintWork work = window_.Repaint().Take(10, 80);
  EXPECT_EQ(work.scrollRows, 1);  // the contents move up by one row, nothing is redrawn whole
  EXPECT_FALSE(work.everything);
  for (int line = 10; line <= 30; ++line) {
    window_.AppendLine("line " + std::to_string(line));
    EXPECT_EQ(window_.View().topLine, line - 8);
    EXPECT_EQ(window_.View().VerticalMaximum(transcript_.LineCount()),
              static_cast<int>(transcript_.LineCount()) - 8);
  }
  // The caret's row is the second-to-last whole row.
  EXPECT_EQ(window_.CaretRow() - window_.View().topLine, 8);
}

TEST_F(WindowModel, ScrollRequestsStayWithinTheRange) {
  for (int line = 0; line < 40; ++line)
    window_.AppendLine("x");
  const int maximum = 40 - 8;
  ASSERT_EQ(window_.View().topLine, maximum);
  struct Case {
    EditKey key;
    int expectedTop;
  };
  const Case cases[] = {{EditKey::Down, maximum},
                        {EditKey::Up, maximum - 1},
                        {EditKey::PageUp, maximum - 11},
                        {EditKey::Home, 0},
                        {EditKey::Up, 0},
                        {EditKey::PageDown, 10},
                        {EditKey::End, maximum},
                        {EditKey::PageDown, maximum}};
  for (const Case& c : cases) {
    window_.Key(c.key);
    EXPECT_EQ(window_.View().topLine, c.expectedTop);
  }
  window_.ScrollVertically(ScrollCode::ThumbTrack, 7);
  EXPECT_EQ(window_.View().topLine, 7);
  window_.ScrollVertically(ScrollCode::ThumbPosition, 20);  // the release does not move it
  EXPECT_EQ(window_.View().topLine, 7);
  // Output far from the view brings the end back into view.
  window_.AppendLine("new");
  EXPECT_EQ(window_.View().topLine, 41 - 8);
}

TEST_F(WindowModel, ALongLineSetsTheSidewaysRangeAndEnterReturnsToColumnZero) {
  window_.AppendLine(std::string(300, 'a'));
  EXPECT_EQ(window_.View().HorizontalMaximum(), 220);
  window_.ScrollHorizontally(ScrollCode::PageForward);
  EXPECT_EQ(window_.View().leftColumn, 8);
  window_.ScrollHorizontally(ScrollCode::ThumbTrack, 100);  // dragging does not move it
  EXPECT_EQ(window_.View().leftColumn, 8);
  window_.ScrollHorizontally(ScrollCode::ThumbPosition, 500);
  EXPECT_EQ(window_.View().leftColumn, 220);
  window_.AppendLine("next");
  EXPECT_EQ(window_.View().leftColumn, 0);

  window_.ScrollHorizontally(ScrollCode::LineForward);
  Type("typed");
  window_.Character(kEnter);
  EXPECT_EQ(window_.View().leftColumn, 0);
}

TEST_F(WindowModel, TypingPastTheRightEdgeScrollsSideways) {
  window_.Resize(10, 20);
  Type(std::string(19, 'a'));
  EXPECT_EQ(window_.View().leftColumn, 0);
  // The caret's cell past the edge counts only once the line is longer than the window.
  Type("b");
  EXPECT_EQ(window_.View().leftColumn, 0);
  Type("b");
  EXPECT_EQ(window_.View().leftColumn, 1);
  EXPECT_EQ(window_.View().longestLine, 21);
}

TEST_F(WindowModel, WriteWhileTypingKeepsTheTypedTextBelowTheOutput) {
  window_.AppendLine("prompt");
  Type("dat");
  window_.Key(EditKey::Left);
  window_.AppendLine("step 1");
  window_.AppendLine("step 2");
  EXPECT_EQ(AllLines(), (std::vector<std::string>{"prompt", "step 1", "step 2", "dat"}));
  EXPECT_EQ(window_.CaretRow(), 3);
  EXPECT_EQ(window_.CaretColumn(), 2);
  Type("X");
  window_.Key(EditKey::Right);
  Type("a.txt");
  window_.Character(kEnter);
  EXPECT_EQ(Line(3), "daXta.txt");
  EXPECT_EQ(completed_.back(), 3u);
}

TEST_F(WindowModel, TheSelectionIsAnchoredWhereTheDragFirstCrossesText) {
  window_.AppendLine("abcdefghij");
  Drag({{5, 0}, {2, 0}});
  ASSERT_TRUE(window_.CurrentSelection());
  EXPECT_EQ(*window_.CurrentSelection(), (Selection{0, 2, 5}));
  EXPECT_EQ(window_.SelectedText(), "cde");
  EXPECT_EQ(commands_.back(), true);

  Drag({});  // a press and release without movement leaves nothing
  EXPECT_FALSE(window_.CurrentSelection());
  EXPECT_EQ(commands_.back(), false);

  Drag({{3, 0}, {30, 0}});  // the end stops at the line's end
  EXPECT_EQ(*window_.CurrentSelection(), (Selection{0, 3, 10}));
  Drag({{2, 0}, {8, 0}, {4, 0}});  // within the selection the nearer end follows
  EXPECT_EQ(*window_.CurrentSelection(), (Selection{0, 4, 8}));
  Drag({{2, 0}, {6, 0}, {4, 0}});  // a tie moves the end
  EXPECT_EQ(*window_.CurrentSelection(), (Selection{0, 2, 4}));
  Drag({{2, 0}, {6, 0}, {4, 5}});  // other rows do not change it
  EXPECT_EQ(*window_.CurrentSelection(), (Selection{0, 2, 6}));
  Drag({{3, 3}, {4, 3}});  // rows without a line select nothing
  EXPECT_FALSE(window_.CurrentSelection());
}

TEST_F(WindowModel, ADoubleClickSelectsTheWordBetweenBlanks) {
  window_.AppendLine("abc def");
  struct Case {
    int column;
    Selection expected;
  };
  const Case cases[] = {
      {4, {0, 4, 7}},  {5, {0, 4, 7}},
      {0, {0, 0, 3}},  {3, {0, 0, 3}},  // on the blank: the word before it
      {12, {0, 4, 7}},                  // right of the line: nothing beyond its end
  };
  for (const Case& c : cases) {
    window_.ButtonDown();
    window_.ButtonUp();
    window_.DoubleClick(c.column, 0);
    window_.ButtonUp();
    ASSERT_TRUE(window_.CurrentSelection()) << c.column;
    EXPECT_EQ(*window_.CurrentSelection(), c.expected) << c.column;
  }
  EXPECT_EQ(commands_.back(), true);
  window_.Character('x');  // any character removes the selection
  EXPECT_FALSE(window_.CurrentSelection());
  EXPECT_EQ(commands_.back(), false);
}

TEST_F(WindowModel, DeletingASelectionMovesLaterLineBoundaries) {
  window_.AppendLine("first line");
  window_.AppendLine("second");
  window_.AppendLine("third");
  Drag({{0, 0}, {6, 0}});
  EXPECT_EQ(window_.SelectedText(), "first ");
  window_.DeleteSelection();
  EXPECT_EQ(AllLines(), (std::vector<std::string>{"line", "second", "third"}));
  EXPECT_EQ(transcript_.LineStart(1), 4u);
  EXPECT_EQ(transcript_.LineStart(2), 10u);
  EXPECT_EQ(transcript_.ByteCount(), 15u);
  EXPECT_FALSE(window_.CurrentSelection());
  EXPECT_EQ(commands_.back(), false);
}

TEST_F(WindowModel, DeletingOnTheTypedLineMovesTheCaret) {
  Type("abcdefgh");
  Drag({{2, 0}, {5, 0}});
  window_.DeleteSelection();  // the caret was beyond the selection: it moves left with its text
  EXPECT_EQ(Line(0), "abfgh");
  EXPECT_EQ(window_.CaretColumn(), 5);
  window_.Key(EditKey::Left);
  Drag({{1, 0}, {5, 0}});
  window_.DeleteSelection();  // the caret was inside it: it goes to the selection's start
  EXPECT_EQ(Line(0), "a");
  EXPECT_EQ(window_.CaretColumn(), 1);
}

TEST_F(WindowModel, APastedCarriageReturnCompletesTheLine) {
  window_.Paste(std::string("ab\rcd"));
  EXPECT_EQ(AllLines(), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(completed_, (std::vector<std::size_t>{0}));
  EXPECT_FALSE(window_.AtLineStart());  // "cd" stays typed
  EXPECT_EQ(window_.CaretColumn(), 2);

  window_.Character(kEnter);
  window_.Paste(std::string("x\ty\0z", 5));  // TAB as the key; nothing after a NUL
  EXPECT_EQ(Line(2), "x       y");
  window_.Character(kEnter);
  window_.Paste(std::string(2000, 'p'));
  EXPECT_EQ(transcript_.LineLength(3), kLongestPaste);
  window_.Character(kEnter);
  window_.Paste("\xE9t\xE9");  // bytes above 127 are inserted as they are
  EXPECT_EQ(Line(4), "\xE9t\xE9");
}

TEST_F(WindowModel, AppendedTextIsStoredUnchanged) {
  window_.AppendLine(std::string("a\tb\nc\x01", 6));
  window_.AppendLine("");
  EXPECT_EQ(AllLines(), (std::vector<std::string>{std::string("a\tb\nc\x01", 6), ""}));
}

}  // namespace
}  // namespace kova::host
