// Ending the process while worker threads compute steps: through _Exit or std::exit inside
// Poll, as a windowed host does when the user closes the frame during a run. The process must
// end with its own code, with no crash, hang or sanitizer report, whatever the threads do.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/smallest_example.h"

namespace kova {
namespace {

TEST(EndingDuringSteps, AnExitInsidePollEndsTheProcessWithItsOwnCode) {
  struct Case {
    const char* exit;
    const char* endingPoll;
    int exitCode;
  };
  // Polls come at every statement and while the analysis waits for a step: the later
  // endings fall among the randomization steps.
  const Case cases[] = {{"_Exit", "400", 3},
                        {"exit", "400", 4},
                        {"_Exit", "2000", 3},
                        {"exit", "2000", 4},
                        {"exit", "5", 4}};
  test_support::ScratchFolder folder;
  const auto example = test_support::SourceFolder() / "examples" / "syn_s1000_n1000_g8";
  std::filesystem::copy_file(example / "data.txt", folder.Path() / "data.txt");
  std::filesystem::copy_file(example / "groups.txt", folder.Path() / "groups.txt");
  for (const Case& c : cases) {
    for (const char* threads : {"1", "2", "8"}) {
      const test_support::ProcessResult run = test_support::RunProcess(
          KOVA_POLL_ENDING_PROGRAM, {c.exit, c.endingPoll}, "data.txt\n5\n300\ngroups.txt\n",
          folder.Path().string(), {{"KOVA_THREADS", threads}});
      const std::string where =
          std::string(c.exit) + " at poll " + c.endingPoll + ", " + threads + " threads";
      EXPECT_EQ(run.signal, 0) << where;
      EXPECT_EQ(run.exitCode, c.exitCode) << where;
      EXPECT_EQ(run.error, "") << where;
      EXPECT_EQ(run.output.find("INDEX  ACTUAL"), std::string::npos) << where;
    }
  }
}

}  // namespace
}  // namespace kova

namespace kova {
namespace {

// Whichever allocation of a whole run fails, the run ends with the report of a failed
// allocation (exit code 255) or, when it needs no more, as usual: never in std::terminate.
TEST(EndingDuringSteps, ARefusedAllocationEndsWithTheReport) {
  test_support::ScratchFolder folder;
  folder.Write("data.txt", test_support::kSmallestData);
  folder.Write("groups.txt", test_support::kSmallestGroups);
  const std::string answers = "data.txt\n5\n3\ngroups.txt\n";
  const auto plain =
      test_support::RunProcess(KOVA_CLI_PROGRAM, {}, answers, folder.Path().string());
  int reported = 0;
  bool completed = false;
  for (int refused = 1; refused < 3000 && !completed; ++refused) {
    const auto run = test_support::RunProcess(
        KOVA_ALLOCATION_FAILURE_PROGRAM, {}, answers, folder.Path().string(),
        {{"KOVA_REFUSE_ALLOCATION", std::to_string(refused)},
         // The sanitizer's own operator new serves its runtime's
         // allocations, which the replacement then frees.
         {"ASAN_OPTIONS", "alloc_dealloc_mismatch=0"}});
    ASSERT_EQ(run.signal, 0) << "allocation " << refused << ": " << run.error;
    if (run.exitCode == 255) {
      ++reported;
      EXPECT_EQ(run.error.rfind("? FORTRAN Runtime Error:\n? Buffer allocation failed\n", 0), 0u)
          << "allocation " << refused << ": " << run.error;
    } else {
      ASSERT_EQ(run.exitCode, 0) << "allocation " << refused << ": " << run.error;
      completed = run.output == plain.output;
    }
  }
  EXPECT_TRUE(completed);
  EXPECT_GT(reported, 10);
}

}  // namespace
}  // namespace kova
