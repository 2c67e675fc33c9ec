// Ending the process while worker threads compute steps: through _Exit or std::exit inside
// Poll, as a windowed host does when the user closes the frame during a run. The process must
// end with its own code, with no crash, hang or sanitizer report, whatever the threads do.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"

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
