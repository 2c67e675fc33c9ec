// The console host's rules for a command line, for a chosen file's name as an answer, for the
// console's line traffic, for closing the frame and for routing menu commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/close_sequence.h"
#include "host/command_line.h"
#include "host/console_lines.h"
#include "host/file_name_answer.h"
#include "host/main_menu.h"

namespace kova::host {
namespace {

TEST(SplitCommandLine, QuotesBackslashesAndWhiteSpace) {
  struct Case {
    std::string line;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"kova.exe", {"kova.exe"}},
      {"kova.exe  a\tb\r\nc", {"kova.exe", "a", "b", "c"}},
      {"\"C:\\Program Files\\kova.exe\" x", {"C:\\Program Files\\kova.exe", "x"}},
      {"p \"two words\"", {"p", "two words"}},
      {"p a\"\"b", {"p", "a\"b"}},                    // "" outside quotes
      {"p \"say \"\"hi\"\"\"", {"p", "say \"hi\""}},  // "" inside quotes
      {"p a\\\"b", {"p", "a\"b"}},                    // \" is a quote character
      {"p \"ab\"cd", {"p", "ab", "cd"}},              // the closing quote ends the argument
      {"p x\"y z\"w", {"p", "xy z", "w"}},
      {" p a b", {}},  // white space at the very start: no arguments at all
      {"", {}},
      {"p a   ", {"p", "a"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << c.line;
}

TEST(CommandTail, SkipsTheProgramNameAndTheBlanksAfterIt) {
  struct Case {
    std::string line;
    std::string tail;
  };
  const Case cases[] = {
      {"kova.exe", ""},
      {"kova.exe \t data.txt 5", "data.txt 5"},
      {"\"C:\\Program Files\\kova.exe\"  a b", "a b"},
      {"\"C:\\unclosed quote a b", ""},
      {"kova.exe\targ", "arg"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CommandTail(c.line), c.tail) << c.line;
}

TEST(ProgramTitle, IsTheFileNameWithItsExtension) {
  EXPECT_EQ(ProgramTitle("C:\\Program Files\\KOVA\\kova.exe"), "kova.exe");
  EXPECT_EQ(ProgramTitle("/usr/local/bin/kova"), "kova");
  EXPECT_EQ(ProgramTitle("kova"), "kova");
}

TEST(FileNameAnswer, RelativeInsideTheWorkingFolderQuotedWhereAReadWouldSplitIt) {
  const struct {
    const char* chosen;
    const char* answer;
  } cases[] = {
      {"/home/ann/dune/data.txt", "data.txt"},
      {"/home/ann/dune/sub/groups.csv", "'sub/groups.csv'"},
      {"/home/ann/dune/my data.csv", "'my data.csv'"},
      {"/home/ann/dune/ann's,1.txt", "'ann''s,1.txt'"},
      {"/home/ann/dunes/data.txt", "'/home/ann/dunes/data.txt'"},
      {"/home/ann/dune", "'/home/ann/dune'"},
      {"/data.txt", "'/data.txt'"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FileNameAnswer("/home/ann/dune", c.chosen), c.answer) << c.chosen;
  EXPECT_EQ(FileNameAnswer("/", "/data.txt"), "'/data.txt'");
}

TEST(WriteTextLines, OneLineEndIsDropped) {
  struct Case {
    std::string text;
    std::string line;
  };
  const Case cases[] = {
      {"abc\r\n", "abc"},   {"abc\n", "abc"}, {"abc", "abc"},         {"\n", ""}, {"a\nb", "a\nb"},
      {"abc\n\n", "abc\n"}, {"abc\r", "abc"}, {"abc\r\r\n", "abc\r"}, {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text.substr(0, LineLengthWithoutEnd(c.text.data(), c.text.size())), c.line)
        << c.text;
  }
}

TEST(ReadLineCopy, EndsWithCarriageReturnAndLineFeed) {
  char buffer[8];
  ASSERT_EQ(CopyLineForRead("", buffer, sizeof buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "\r\n");  // an empty answer is CR LF alone
  ASSERT_EQ(CopyLineForRead("data", buffer, sizeof buffer), 6u);
  EXPECT_EQ(std::string(buffer, 6), "data\r\n");
  ASSERT_EQ(CopyLineForRead("a longer line", buffer, sizeof buffer), 8u);
  EXPECT_EQ(std::string(buffer, 8), "a long\r\n");  // cut to capacity - 2
}

TEST(CloseDecisions, TheAnswerAndTheRunDecideWhatClosingDoes) {
  EXPECT_TRUE(AsksToSave(false));
  EXPECT_FALSE(AsksToSave(true));

  const HostFlags running;
  HostFlags ended;
  ended.runEnded = true;

  const CloseDecision cancel = DecideClose(SaveAnswer::Cancel, false, running);
  EXPECT_FALSE(cancel.proceed);  // the frame stays and the analysis goes on
  EXPECT_FALSE(cancel.endProcess);

  const CloseDecision noWhileRunning = DecideClose(SaveAnswer::No, false, running);
  EXPECT_TRUE(noWhileRunning.proceed);
  EXPECT_EQ(noWhileRunning.save, SaveBeforeClose::None);
  EXPECT_TRUE(noWhileRunning.endProcess);  // units closed, exit code 0

  const CloseDecision yesFirstTime = DecideClose(SaveAnswer::Yes, false, ended);
  EXPECT_EQ(yesFirstTime.save, SaveBeforeClose::ChooseFile);
  EXPECT_FALSE(yesFirstTime.endProcess);  // the ended run's own exit code stands

  EXPECT_EQ(DecideClose(SaveAnswer::Yes, true, ended).save, SaveBeforeClose::ToSavedFile);
  const CloseDecision saved = DecideClose(std::nullopt, false, ended);
  EXPECT_TRUE(saved.proceed);
  EXPECT_EQ(saved.save, SaveBeforeClose::None);
}

TEST(MainMenu, EveryItemWithItsIdAndInitialState) {
  std::vector<std::string> items;
  for (const MenuPopup& popup : MainMenu()) {
    std::string row(popup.title);
    for (const MenuItem& item : popup.items) {
      row += item.id == 0 ? std::string(" | -")
                          : " | " + std::string(item.text) + " " + std::to_string(item.id) +
                                (item.grayed ? " gray" : "");
    }
    items.push_back(row);
  }
  EXPECT_EQ(items, (std::vector<std::string>{
                       "&File | &Save 500 | Save As... 501 | - | Print... 510 | - | "
                       "&About... 520 | - | E&xit 530",
                       "&Edit | &Undo\tCtrl+Z 600 gray | - | Cu&t\tCtrl+X 610 gray | "
                       "&Copy\tCtrl+C 611 gray | &Paste\tCtrl+V 612 gray | De&lete 613 gray",
                       "&Window | &Cascade\tShift+F5 701 | &Tile\tShift+F4 700 | "
                       "&Arrange Icons 702",
                   }));
  std::vector<std::pair<std::string, int>> accelerators;
  for (const Accelerator& accelerator : MdiAccel()) {
    accelerators.emplace_back(accelerator.keys, accelerator.id);
  }
  EXPECT_EQ(accelerators, (std::vector<std::pair<std::string, int>>{{"Ctrl+Z", 600},
                                                                    {"Ctrl+X", 610},
                                                                    {"Ctrl+C", 611},
                                                                    {"Ctrl+V", 612},
                                                                    {"Shift+F5", 701},
                                                                    {"Shift+F4", 700}}));
}

TEST(RouteCommand, ProgramItemsAndEverythingElse) {
  EXPECT_EQ(RouteCommand(500, 800), CommandRoute::Save);
  EXPECT_EQ(RouteCommand(530, 800), CommandRoute::Exit);
  EXPECT_EQ(RouteCommand(612, 800), CommandRoute::Paste);
  EXPECT_EQ(RouteCommand(600, 800), CommandRoute::ActiveChild);  // Undo has no action
  EXPECT_EQ(RouteCommand(800, 800), CommandRoute::ActiveChild);  // no item added yet
  EXPECT_EQ(RouteCommand(800, 802), CommandRoute::ProgramItem);
  EXPECT_EQ(RouteCommand(801, 802), CommandRoute::ProgramItem);
  EXPECT_EQ(RouteCommand(802, 802), CommandRoute::ActiveChild);
  EXPECT_EQ(RouteCommand(701, 802), CommandRoute::Cascade);
  EXPECT_EQ(RouteCommand(700, 802), CommandRoute::Tile);
  EXPECT_EQ(RouteCommand(702, 802), CommandRoute::ArrangeIcons);
  EXPECT_EQ(RouteCommand(100, 802), CommandRoute::ChildWindow);  // the first child's entry
  EXPECT_EQ(RouteCommand(108, 802), CommandRoute::ChildWindow);
  EXPECT_EQ(RouteCommand(109, 802), CommandRoute::ActiveChild);
}

}  // namespace
}  // namespace kova::host
