// How a file's bytes become records: line feeds end them, carriage returns vanish, tabs
// expand to TABSIZE stops, and bytes after the last line feed are no record.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/console_capture.h"
#include "tests/support/scratch_folder.h"
#include "textio/console.h"
#include "textio/free_format_input.h"
#include "textio/records.h"
#include "textio/units.h"

namespace kova {
namespace {

using test_support::RunCaptured;
using test_support::ScratchFolder;

// The records of a file as ReadFormattedA sees them, cut or padded to `width`.
std::vector<std::string> RecordsOf(const std::string& contents, std::size_t count,
                                   std::size_t width = 16) {
  ScratchFolder folder;
  const std::string path = folder.Write("records.txt", contents);
  std::vector<std::string> records;
  const auto run = RunCaptured([&] {
    OpenUnit(1, path, OpenStatus::Old);
    for (std::size_t i = 0; i < count; ++i) {
      std::string record(width, '#');
      ReadFormattedA(1, record.data(), width);
      records.push_back(record);
    }
    CloseUnit(1);
  });
  EXPECT_FALSE(run.ended) << run.error;
  return records;
}

TEST(RecordReading, DropsCarriageReturnsAndExpandsTabs) {
  EXPECT_EQ(RecordsOf("a\r\nb\rc\r\n\r\n", 3, 4),
            (std::vector<std::string>{"a   ", "bc  ", "    "}));
  EXPECT_EQ(
      RecordsOf("\tx\nabc\tx\nabcdefgh\tx\n", 3, 17),
      (std::vector<std::string>{"        x        ", "abc     x        ", "abcdefgh        x"}));
}

class TabSizeSetting : public ::testing::Test {
 protected:
  void TearDown() override { ::unsetenv("TABSIZE"); }
};

TEST_F(TabSizeSetting, FollowsTheEnvironment) {
  const std::pair<const char*, const char*> cases[] = {
      {"4", "ab  x"},
      {"1", "ab x"},
      {"3x", "ab x"},
      {"+5", "ab   x"},
      {"0", "ab      x"},
      {"-3", "ab      x"},
      {"", "ab      x"},
      {"abc", "ab      x"},
      {"12345678901234567890", "ab      x"},  // more than 19 characters: ignored
  };
  for (const auto& [setting, expected] : cases) {
    ::setenv("TABSIZE", setting, 1);
    const std::string record = RecordsOf("ab\tx\n", 1, 9)[0];
    EXPECT_EQ(record.substr(0, record.find('x') + 1), expected) << "TABSIZE=" << setting;
  }
}

TEST(RecordReading, RecordsMayCrossBlocksAndGrowWithoutLimit) {
  const std::string longLine(20000, 'z');
  std::string contents = "short\n" + longLine + "\n";
  for (int i = 0; i < 3000; ++i)
    contents += std::to_string(i) + "\n";
  const auto records = RecordsOf(contents, 3002, 20000);
  EXPECT_EQ(records[1], longLine);
  EXPECT_EQ(records[3001].substr(0, 4), "2999");
}

TEST(RecordReading, BytesAfterTheLastLineFeedAreNoRecord) {
  ScratchFolder folder;
  const std::string ended = folder.Write("ended.txt", "1 2\n3 4\n");
  const std::string cut = folder.Write("cut.txt", "1 2\n3 4");
  std::int32_t values[4] = {};

  const auto good = RunCaptured([&] {
    OpenUnit(1, ended, OpenStatus::Old);
    ReadFreeFormat(1, {IntegerItems(values, 4)});
  });
  EXPECT_FALSE(good.ended);
  EXPECT_EQ(values[3], 4);

  const auto bad = RunCaptured([&] {
    OpenUnit(1, cut, OpenStatus::Old);
    ReadFreeFormat(1, {IntegerItems(values, 4)});
  });
  EXPECT_TRUE(bad.ended);
  EXPECT_EQ(bad.exitCode, -1);
  EXPECT_EQ(bad.error,
            "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=1,...\n");
}

TEST(RecordReading, ConsoleLinesAreCutTo254Characters) {
  char name[300];
  const auto run = RunCaptured([&] { ReadFreeFormat(-1, {CharacterItem(name, sizeof name)}); },
                               std::string(280, 'c'));
  EXPECT_FALSE(run.ended);
  EXPECT_EQ(std::string(name, sizeof name), std::string(254, 'c') + std::string(46, ' '));
}


// What a line reader hands out, in blocks of 4 bytes: lines in place or across blocks, with
// their numbers, and what it found at the end, which the caller judges.
TEST(LineReading, GivesLinesWithTheirNumbersAndSaysHowTheFileEnds) {
  const struct {
    const char* contents;
    std::vector<std::string> lines;
    ReadOutcome lastLine;  // whether a line feed ends the last line
  } cases[] = {
      {"ab\ncdefghij\n\n", {"ab", "cdefghij", ""}, ReadOutcome::Line},
      {"ab\r\nc\td", {"ab\r", "c\td"}, ReadOutcome::UnendedLine},
      {"", {}, ReadOutcome::Line},
  };
  for (const auto& c : cases) {
    ScratchFolder folder;
    int error = 0;
    LineReader reader(OpenFileSource(folder.Write("lines.txt", c.contents), error), 4);
    std::string_view line;
    ReadOutcome outcome = ReadOutcome::Line;
    for (std::size_t k = 0; k < c.lines.size(); ++k) {
      outcome = reader.Next(line);
      EXPECT_EQ(std::string(line), c.lines[k]) << c.contents;
      EXPECT_EQ(reader.LineNumber(), static_cast<std::int64_t>(k + 1));
    }
    if (!c.lines.empty()) {
      EXPECT_EQ(outcome, c.lastLine) << c.contents;
    }
    EXPECT_EQ(reader.Next(line), ReadOutcome::EndOfFile) << c.contents;
  }
}

TEST(LineReading, AFailedReadIsTheCallersToReport) {
  ScratchFolder folder;
  int error = 0;
  LineReader reader(OpenFileSource(folder.Path().string(), error), 4);
  std::string_view line;
  EXPECT_EQ(reader.Next(line), ReadOutcome::Failed);
  EXPECT_EQ(reader.Error(), EISDIR);
  EXPECT_EQ(OpenFileSource(folder.File("absent.txt"), error), nullptr);
  EXPECT_EQ(error, ENOENT);
}

// The rules of a reader's records: a tab to the next stop, carriage returns dropped, and a
// record beyond the longest is no record.
TEST(RecordReading, KeepsTheRulesItIsGiven) {
  ScratchFolder folder;
  const std::string path = folder.Write("records.txt", "a\tb\r\nabcdef\n");
  int error = 0;
  RecordReader reader(OpenFileSource(path, error), 4, RecordRules{1, 5});
  std::string_view record;
  EXPECT_EQ(reader.Next(record), ReadOutcome::Line);
  EXPECT_EQ(record, "a b");
  EXPECT_EQ(reader.Next(record), ReadOutcome::NoRoom);
}

}  // namespace
}  // namespace kova
