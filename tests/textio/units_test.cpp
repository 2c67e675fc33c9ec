// Opening, writing and closing file units: status values, the first-write cut, and what a
// file holds after a run that stops, fails or writes nothing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/console_capture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/unprivileged.h"
#include "textio/free_format_input.h"
#include "textio/output_editing.h"
#include "textio/run_endings.h"
#include "textio/units.h"

namespace kova {
namespace {

using test_support::RunCaptured;
using test_support::ScratchFolder;

std::int32_t OpenStatusOf(const std::string& name, OpenStatus status = OpenStatus::Old) {
  std::int32_t statusValue = -99;
  const auto run = RunCaptured([&] { OpenUnit(1, name, status, &statusValue); });
  EXPECT_FALSE(run.ended) << name;
  EXPECT_TRUE(run.error.empty()) << run.error;
  return statusValue;
}

TEST(OpenUnit, StoresTheFailureCodeInTheStatusValue) {
  ScratchFolder folder;
  folder.Write("data.txt", "x\n");
  std::filesystem::create_directory(folder.Path() / "sub");

  EXPECT_EQ(OpenStatusOf(folder.File("data.txt")), 0);
  EXPECT_EQ(OpenStatusOf("  " + folder.File("data.txt") + "     "), 0);  // blanks around the name
  EXPECT_EQ(OpenStatusOf(folder.File("missing.txt")), 2);
  EXPECT_EQ(OpenStatusOf(folder.File("no-folder/data.txt")), 3);
  EXPECT_EQ(OpenStatusOf(folder.File("data.txt/inner")), 3);
  EXPECT_EQ(OpenStatusOf(folder.File("sub")), 5);
  EXPECT_EQ(OpenStatusOf(folder.File("sub"), OpenStatus::Unknown), 5);
  EXPECT_EQ(OpenStatusOf(std::string(100, ' ')), 10014);
  EXPECT_EQ(OpenStatusOf(std::string("a\0b", 3)), 123);
  EXPECT_EQ(OpenStatusOf(folder.File(std::string(300, 'n'))), 123);
}

TEST(OpenUnit, RefusesFilesOfFourGibibytesOrMore) {
  ScratchFolder folder;
  const std::string large = folder.Write("large.txt", "");
  const std::string below = folder.Write("below.txt", "");
  ASSERT_EQ(::truncate(large.c_str(), 4LL << 30), 0);
  ASSERT_EQ(::truncate(below.c_str(), (4LL << 30) - 1), 0);
  EXPECT_EQ(OpenStatusOf(large), 5);
  EXPECT_EQ(OpenStatusOf(below), 0);
}

TEST(OpenUnit, OpensWriteProtectedInputFilesForReading) {
  ScratchFolder folder;
  std::filesystem::permissions(folder.Path(), std::filesystem::perms::all);
  const std::string path = folder.Write("protected.txt", "17\n");
  ::chmod(path.c_str(), 0444);

  const int outcome = test_support::RunUnprivileged([&] {
    std::int32_t status = -99;
    std::int32_t value = 0;
    const auto run = RunCaptured([&] {
      OpenUnit(1, path, OpenStatus::Old, &status);
      ReadFreeFormat(1, {IntegerItem(value)});
      CloseUnit(1);
    });
    return status == 0 && !run.ended && value == 17 ? 0 : 1;
  });
  EXPECT_EQ(outcome, 0);
}

TEST(OpenUnit, ReportsAResultsFileThatCannotBeWritten) {
  ScratchFolder folder;
  std::filesystem::permissions(folder.Path(), std::filesystem::perms::all);
  const std::string path = folder.Write("RESULTS.TXT", "old\n");
  ::chmod(path.c_str(), 0444);

  const int outcome = test_support::RunUnprivileged([&] {
    const auto run = RunCaptured([&] { OpenUnit(2, path, OpenStatus::Unknown); });
    const bool reported = run.ended && run.exitCode == -1 &&
                          run.error == "? System Error:\n? Access Denied.\n? OPEN(UNIT=2,...\n";
    return reported ? 0 : 1;
  });
  EXPECT_EQ(outcome, 0);
  EXPECT_EQ(test_support::ReadWholeFile(path), "old\n");
}

TEST(OpenUnit, ReportsABlankNameWithoutAStatusValue) {
  const auto run = RunCaptured([] { OpenUnit(2, "   ", OpenStatus::Unknown); });
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, -1);
  EXPECT_EQ(run.error, "? FORTRAN Runtime Error:\n? Bad file specification\n? OPEN(UNIT=2,...\n");
}

TEST(FileUnits, NewResultsReplaceALongerOldFile) {
  ScratchFolder folder;
  const std::string path = folder.Write("RESULTS.TXT", std::string(100000, 'o'));
  const auto run = RunCaptured([&] {
    OpenUnit(2, path, OpenStatus::Unknown);
    WriteFreeFormat(2, {"first", 1});
    WriteFreeFormat(2, {"second", 2.5f});
    CloseUnit(2);
  });
  EXPECT_FALSE(run.ended);
  EXPECT_EQ(test_support::ReadWholeFile(path), " first  1\r\n second  2.50000\r\n");
}

TEST(FileUnits, ResultsLongerThanOneBlockReplaceALongerOldFile) {
  ScratchFolder folder;
  const std::string path = folder.Write("RESULTS.TXT", std::string(100000, 'o'));
  std::string expected;
  const auto run = RunCaptured([&] {
    OpenUnit(2, path, OpenStatus::Unknown);
    for (int record = 0; record < 1000; ++record) {
      WriteFreeFormat(2, {" Randomization step ", record});
      expected += FreeFormatRecord({" Randomization step ", record}) + "\r\n";
    }
    CloseUnit(2);
  });
  EXPECT_FALSE(run.ended);
  EXPECT_GT(expected.size(), 8192U * 2);
  EXPECT_EQ(test_support::ReadWholeFile(path), expected);
}

TEST(FileUnits, ARunThatWritesNothingLeavesTheOldFileAlone) {
  ScratchFolder folder;
  const std::string path = folder.Write("RESULTS.TXT", "old results\r\n");
  const auto run = RunCaptured([&] {
    OpenUnit(2, path, OpenStatus::Unknown);
    CloseUnit(2);
    OpenUnit(2, path, OpenStatus::Unknown);
    StopRun(" ");
  });
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(test_support::ReadWholeFile(path), "old results\r\n");
}

TEST(FileUnits, UnknownCreatesAMissingFile) {
  ScratchFolder folder;
  const std::string path = folder.File("RESULTS.TXT");
  RunCaptured([&] { OpenUnit(2, path, OpenStatus::Unknown); });
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(test_support::ReadWholeFile(path), "");
}

TEST(FileUnits, RecordsWrittenBeforeAStopOrAFailureStay) {
  ScratchFolder folder;
  const std::string stopped = folder.Write("stopped.txt", std::string(500, 'o'));
  const std::string failed = folder.Write("failed.txt", std::string(500, 'o'));

  const auto stop = RunCaptured([&] {
    OpenUnit(2, stopped, OpenStatus::Unknown);
    WriteFreeFormat(2, {"kept"});
    StopRun(" ");
  });
  EXPECT_EQ(stop.exitCode, 0);
  EXPECT_EQ(test_support::ReadWholeFile(stopped), " kept\r\n");

  const auto failure = RunCaptured([&] {
    OpenUnit(2, failed, OpenStatus::Unknown);
    WriteFreeFormat(2, {"kept"});
    std::int32_t value;
    ReadFreeFormat(1, {IntegerItem(value)});  // unit 1 was never opened
  });
  EXPECT_EQ(failure.exitCode, -1);
  EXPECT_EQ(failure.error,
            "? FORTRAN Runtime Error:\n? Unit is not connected\n? READ(UNIT=1,...\n");
  EXPECT_EQ(test_support::ReadWholeFile(failed), " kept\r\n");
}

TEST(FileUnits, AFullDiskIsReportedAgainstTheStatementThatWrote) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const auto atClose = RunCaptured([] {
    OpenUnit(2, "/dev/full", OpenStatus::Unknown);
    WriteFreeFormat(2, {"record"});
    CloseUnit(2);
  });
  EXPECT_EQ(atClose.exitCode, -1);
  EXPECT_EQ(atClose.error,
            "? System Error:\n? There is not enough space on the disk.\n? CLOSE(UNIT=2,...\n");

  const auto atWrite = RunCaptured([] {
    OpenUnit(2, "/dev/full", OpenStatus::Unknown);
    for (int record = 0; record < 2000; ++record)
      WriteFreeFormat(2, {"record", record});
  });
  EXPECT_EQ(atWrite.exitCode, -1);
  EXPECT_EQ(atWrite.error,
            "? System Error:\n? There is not enough space on the disk.\n? WRITE(UNIT=2,...\n");

  const auto atStop = RunCaptured([] {
    OpenUnit(2, "/dev/full", OpenStatus::Unknown);
    WriteFreeFormat(2, {"record"});
    StopRun(" ");  // the data cannot be written out: not a success
  });
  EXPECT_EQ(atStop.exitCode, -1);
}

TEST(FileUnits, UnitOneServesTwoFilesInTurn) {
  ScratchFolder folder;
  const std::string first = folder.Write("first.txt", "1\n");
  const std::string second = folder.Write("second.txt", "2\n");
  std::int32_t a = 0, b = 0;
  const auto run = RunCaptured([&] {
    OpenUnit(1, first, OpenStatus::Old);
    ReadFreeFormat(1, {IntegerItem(a)});
    CloseUnit(1);
    CloseUnit(1);  // closing an unconnected unit does nothing
    OpenUnit(1, second, OpenStatus::Old);
    ReadFreeFormat(1, {IntegerItem(b)});
    CloseUnit(1);
  });
  EXPECT_FALSE(run.ended);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
}

TEST(FileUnits, PollRunsAtEveryStatementButConsoleReads) {
  ScratchFolder folder;
  const std::string data = folder.Write("data.txt", "1\n");
  std::int32_t value = 0;
  const auto run = RunCaptured(
      [&] {
        OpenUnit(1, data, OpenStatus::Old);        // 1
        ReadFreeFormat(1, {IntegerItem(value)});   // 2
        CloseUnit(1);                              // 3
        WriteFreeFormat(-1, {"x"});                // 4
        ReadFreeFormat(-1, {IntegerItem(value)});  // console: none
      },
      "5\n");
  EXPECT_EQ(run.polls, 4);
  EXPECT_EQ(value, 5);
}

}  // namespace
}  // namespace kova
