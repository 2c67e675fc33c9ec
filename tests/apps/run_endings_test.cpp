// Ways a run of kova-cli ends that the analysis does not choose: a signal mid-run or while it
// waits for an answer, and a write that fails part-way into a file that existed before.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

using test_support::ReadWholeFile;
using test_support::RunningProcess;
using test_support::ScratchFolder;

void CopyExample(const ScratchFolder& folder, const std::string& example) {
  const auto source = test_support::SourceFolder() / "examples" / example;
  std::filesystem::copy_file(source / "data.txt", folder.Path() / "data.txt");
  std::filesystem::copy_file(source / "groups.txt", folder.Path() / "groups.txt");
}

std::uintmax_t SizeOf(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

// The console's records after the four prompts.
std::string StepRecords(const std::string& console) {
  std::size_t start = 0;
  for (int prompt = 0; prompt < 4; ++prompt)
    start = console.find("\r\n", start) + 2;
  return console.substr(start);
}

TEST(Interruption, ASignalMidRunLeavesWholeRecordsAndEveryStepShown) {
  struct Case {
    int signal;
    const char* name;
  };
  for (const Case& c : {Case{SIGINT, "SIGINT"}, Case{SIGTERM, "SIGTERM"}, Case{SIGHUP, "SIGHUP"}}) {
    ScratchFolder folder;
    CopyExample(folder, "dune_management");
    RunningProcess run(KOVA_CLI_PROGRAM, {}, "data.txt\n12345\n2000000\ngroups.txt\n",
                       folder.Path().string());
    const std::string results = folder.File("RESULTS.TXT");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (SizeOf(results) < 300000 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.Signal(c.signal);
    const auto ended = run.Finish();
    EXPECT_EQ(ended.exitCode, 128 + c.signal) << c.name;
    EXPECT_EQ(ended.error, std::string("? Run interrupted by ") + c.name + "\n");
    const std::string file = ReadWholeFile(results);
    ASSERT_GT(file.size(), 300000u) << c.name;
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n") << c.name;
    // Everything the console showed is in the file, the file at most a record ahead.
    const std::string shown = StepRecords(ended.output);
    ASSERT_GT(shown.size(), 200000u) << c.name;
    EXPECT_EQ(file.compare(0, shown.size(), shown), 0) << c.name;
    EXPECT_LT(file.size() - shown.size(), 200u) << c.name;
  }
}

TEST(Interruption, ASignalWhileAnAnswerIsAwaitedEndsAtOnce) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  RunningProcess run(KOVA_CLI_PROGRAM, {}, "data.txt\n", folder.Path().string());
  // The second prompt is written out before the answer is awaited.
  ASSERT_TRUE(run.WaitForOutput("enter random seed\r\n", std::chrono::seconds(30)));
  run.Signal(SIGINT);
  const auto ended = run.Finish();
  EXPECT_EQ(ended.exitCode, 130);
  EXPECT_EQ(ended.output, "  ENTER INPUT FILENAME\r\n  enter random seed\r\n");
  EXPECT_EQ(ended.error, "? Run interrupted by SIGINT\n");
  EXPECT_FALSE(std::filesystem::exists(folder.File("RESULTS.TXT")));
}

// A file that existed keeps nothing of its old contents past what the run wrote, even when
// the first block fails part-way (here at a size limit of 4000 bytes).
TEST(FailedFirstWrite, LeavesOnlyWhatWasWritten) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  folder.Write("RESULTS.TXT", std::string(100000, 'o'));
  const auto run = test_support::RunProcess(
      "/bin/sh",
      {"-c", "trap '' XFSZ; exec prlimit --fsize=4000 \"$0\" >/dev/null", KOVA_CLI_PROGRAM},
      "data.txt\n1\n20\ngroups.txt\n", folder.Path().string());
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_NE(run.error.find("WRITE(UNIT=2,...\n"), std::string::npos) << run.error;
  const std::string file = ReadWholeFile(folder.File("RESULTS.TXT"));
  EXPECT_LE(file.size(), 4000u);
  EXPECT_EQ(file.find("ooo"), std::string::npos);  // nothing of the old file

  ScratchFolder whole;
  CopyExample(whole, "dune_management");
  ASSERT_EQ(test_support::RunProcess(KOVA_CLI_PROGRAM, {}, "data.txt\n1\n20\ngroups.txt\n",
                                     whole.Path().string())
                .exitCode,
            0);
  EXPECT_EQ(ReadWholeFile(whole.File("RESULTS.TXT")).compare(0, file.size(), file), 0);
}

}  // namespace
}  // namespace kova
