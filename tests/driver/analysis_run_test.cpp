// Whole analysis runs in-process: the dialogue, the input files, "RESULTS.TXT" and the
// console, byte for byte, and every way a run can end.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "driver/analysis_main.h"
#include "tests/support/console_capture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/smallest_example.h"

namespace kova {
namespace {

using test_support::CapturedRun;
using test_support::ReadWholeFile;
using test_support::ScratchFolder;
using test_support::SmallestStepRecords;

const std::string kPrompts = test_support::PromptRecords();

// Runs the analysis in `folder`, where "RESULTS.TXT" is written.
CapturedRun RunAnalysisIn(const ScratchFolder& folder, const std::string& answers) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  CapturedRun run = test_support::RunCaptured([] { RunAnalysis(); }, answers);
  std::filesystem::current_path(previous);
  return run;
}

class SmallestExample : public test_support::SmallestExampleFolder {};

TEST_F(SmallestExample, OneStepWritesTheFullTables) {
  const CapturedRun run = RunAnalysisIn(folder_, "data.txt\n7\n1\ngroups.txt\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder_.File("RESULTS.TXT")), SmallestStepRecords(1, true));
  EXPECT_EQ(run.output, kPrompts + SmallestStepRecords(1, false));
  EXPECT_EQ(run.error, " STOP  \n");
}

TEST_F(SmallestExample, TwoStepsEndWithTheFinalTable) {
  const CapturedRun run = RunAnalysisIn(folder_, "data.txt\n7\n2\ngroups.txt\n");
  EXPECT_EQ(run.exitCode, 0);
  const std::string steps = SmallestStepRecords(1, false) + SmallestStepRecords(2, false);
  EXPECT_EQ(ReadWholeFile(folder_.File("RESULTS.TXT")), steps);
  EXPECT_EQ(run.output, kPrompts + steps + test_support::SmallestFinalTable());
}

TEST_F(SmallestExample, NoStepsLeaveAnOldResultsFileAlone) {
  folder_.Write("RESULTS.TXT", "earlier results\r\n");
  for (const char* count : {"0", "-3"}) {
    const CapturedRun run =
        RunAnalysisIn(folder_, std::string("data.txt\n7\n") + count + "\ngroups.txt\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, kPrompts);
    EXPECT_EQ(ReadWholeFile(folder_.File("RESULTS.TXT")), "earlier results\r\n");
  }
}

TEST_F(SmallestExample, AnOldLongerResultsFileKeepsOnlyTheNewRecords) {
  folder_.Write("RESULTS.TXT", std::string(50000, 'x'));
  RunAnalysisIn(folder_, "data.txt\n7\n1\ngroups.txt\n");
  EXPECT_EQ(ReadWholeFile(folder_.File("RESULTS.TXT")), SmallestStepRecords(1, true));
}

TEST_F(SmallestExample, AMissingDataFileStopsBeforeTheSeedIsAsked) {
  const CapturedRun run = RunAnalysisIn(folder_, "nothing.txt\n7\n1\ngroups.txt\n");
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "  ENTER INPUT FILENAME\r\n INPUT FILE DOES NOT EXIST!!\r\n");
  EXPECT_EQ(run.error, " STOP  \n");
  EXPECT_EQ(run.linesRead, 1);
  EXPECT_FALSE(std::filesystem::exists(folder_.File("RESULTS.TXT")));
}

TEST_F(SmallestExample, AMissingGroupFileStopsAfterTheOtherAnswers) {
  for (const char* name : {"nothing.txt", "sub/groups.txt", "'   '"}) {
    const CapturedRun run = RunAnalysisIn(folder_, std::string("data.txt\n7\n1\n") + name + "\n");
    EXPECT_EQ(run.exitCode, 1) << name;
    EXPECT_EQ(run.output, kPrompts + " INPUT FILE DOES NOT EXIST!!\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder_.File("RESULTS.TXT")));
  }
}

TEST_F(SmallestExample, GroupNumbersOutOfRangeEndTheRunBeforeAnyResult) {
  struct Case {
    const char* data;
    const char* groups;
    const char* message;
  };
  const Case cases[] = {
      {"t\n1 2 2\n1 0\n", "1 3\n",
       " GROUP NUMBER 3 OF SITE 2 IS OUT OF RANGE: GROUP NUMBERS MUST LIE BETWEEN 1 AND 2\r\n"},
      {"t\n1 2 2\n1 0\n", "0 1\n",
       " GROUP NUMBER 0 OF SITE 1 IS OUT OF RANGE: GROUP NUMBERS MUST LIE BETWEEN 1 AND 2\r\n"},
      {"t\n1 2 0\n1 0\n", "1 1\n",
       " GROUP NUMBER 1 OF SITE 1 IS OUT OF RANGE: NO GROUP NUMBER IS ALLOWED: THE DATA FILE GIVES "
       "0 GROUPS\r\n"},
  };
  folder_.Write("RESULTS.TXT", "earlier results\r\n");
  for (const Case& c : cases) {
    folder_.Write("bad-data.txt", c.data);
    folder_.Write("bad-groups.txt", c.groups);
    const CapturedRun run = RunAnalysisIn(folder_, "bad-data.txt\n7\n1\nbad-groups.txt\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, kPrompts + c.message);
    EXPECT_EQ(run.error, " STOP  \n");
    EXPECT_EQ(ReadWholeFile(folder_.File("RESULTS.TXT")), "earlier results\r\n");
  }
}

TEST_F(SmallestExample, FailedReadsEndWithTheRunTimeReport) {
  struct Case {
    const char* data;
    const char* answers;
    const char* report;
  };
  const Case cases[] = {
      {"title\n1 2 2\n1\n", "data.txt\n7\n1\ngroups.txt\n",
       "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=1,...\n"},
      {"title\n1 2 2\n1 0", "data.txt\n7\n1\ngroups.txt\n",  // last line without a line feed
       "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=1,...\n"},
      {"title\n1 2 2\n1 O\n", "data.txt\n7\n1\ngroups.txt\n",
       "? FORTRAN Runtime Error:\n? Illegal character in numeric input\n? READ(UNIT=1,...\n"},
      {"title\n1 2.0 2\n1 0\n", "data.txt\n7\n1\ngroups.txt\n",
       "? FORTRAN Runtime Error:\n? Illegal character in numeric input\n? READ(UNIT=1,...\n"},
      {"title\n1 2 2\n1 0\n", "data.txt\nseven\n1\ngroups.txt\n",
       "? FORTRAN Runtime Error:\n? Illegal character in numeric input\n? READ(UNIT=*,...\n"},
      {"title\n1 2 2\n1 0\n", "data.txt\n7\n",
       "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=*,...\n"},
  };
  for (const Case& c : cases) {
    folder_.Write("data.txt", c.data);
    const CapturedRun run = RunAnalysisIn(folder_, c.answers);
    EXPECT_EQ(run.exitCode, -1) << c.data;
    EXPECT_EQ(run.error, c.report) << c.data;
  }
}

TEST(AnalysisRun, CountsTooLargeForMemoryEndWithTheAllocationReport) {
  ScratchFolder folder;
  folder.Write("data.txt", "huge\n2000000000 2000000000 3\n");
  folder.Write("groups.txt", "1\n");
  const CapturedRun run = RunAnalysisIn(folder, "data.txt\n1\n1\ngroups.txt\n");
  EXPECT_EQ(run.exitCode, -1);
  EXPECT_EQ(run.error, "? FORTRAN Runtime Error:\n? Buffer allocation failed\n");
}

// Inputs that read the same however they are laid out.
TEST(AnalysisRun, DataFileLayoutsReadTheSame) {
  const char* layouts[] = {
      "title\n2 3 2\n1 0 2\n0 4 1\n",
      "\n2\n3\n2\n1 0\n2\n0 4 1\n",  // empty title, counts and a row split over lines
      "anything at all\n2,3,2\n1 0 2 9 9\n0 4 1\n",  // extra values on a row are skipped
      "t\n2 3 2\n1,0,2\n0\t4\t1\r\n",
      "t\n2 3 2 \n1 1*0 2\n0 4 1\n",
  };
  std::string expected;
  for (const char* layout : layouts) {
    ScratchFolder folder;
    folder.Write("data.txt", layout);
    folder.Write("groups.txt", "1 2\n2\n");
    const CapturedRun run = RunAnalysisIn(folder, "data.txt\n3\n1\ngroups.txt\n");
    EXPECT_EQ(run.exitCode, 0) << layout << run.error;
    const std::string results = ReadWholeFile(folder.File("RESULTS.TXT"));
    if (expected.empty()) expected = results;
    EXPECT_EQ(results, expected) << layout;
  }
}

TEST(AnalysisRun, EmptyAndNegativeCountsRunOnEmptyTables) {
  const std::pair<const char*, const char*> cases[] = {
      {"t\n0 2 2\n", "1 2\n"},
      {"t\n-5 2 2\n", "1 2\n"},
      {"t\n2 0 2\n\n\n", "\n"},  // no sites: the rows and the group file hold nothing
  };
  for (const auto& [data, groups] : cases) {
    ScratchFolder folder;
    folder.Write("data.txt", data);
    folder.Write("groups.txt", groups);
    const CapturedRun run = RunAnalysisIn(folder, "data.txt\n3\n2\ngroups.txt\n");
    EXPECT_EQ(run.exitCode, 0) << data << run.error;
    EXPECT_NE(run.output.find(
                  "  Borsak   5  SUM=   .000000\r\n  max. spec.   0 its contribution=   .000000"),
              std::string::npos)
        << data;
  }
}

TEST(AnalysisRun, AnUnquotedNameEndsAtASlash) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder.Path() / "dir");
  folder.Write("dir/data.txt", "t\n1 2 2\n1 0\n");
  folder.Write("groups.txt", "1 2\n");
  const CapturedRun unquoted = RunAnalysisIn(folder, "dir/data.txt\n7\n1\ngroups.txt\n");
  EXPECT_EQ(unquoted.exitCode, 1);
  EXPECT_NE(unquoted.output.find("INPUT FILE DOES NOT EXIST!!"), std::string::npos);
  const CapturedRun quoted = RunAnalysisIn(folder, "'dir/data.txt'\n7\n1\ngroups.txt\n");
  EXPECT_EQ(quoted.exitCode, 0);
}

}  // namespace
}  // namespace kova
