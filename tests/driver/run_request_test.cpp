#include "driver/run_request.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <filesystem>

#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

using test_support::ScratchFolder;

// More randomizations than the disk holds the records of are refused, whatever the tables.
TEST(RunRequest, RefuseARunWhoseResultsFileCannotFit) {
  ScratchFolder folder;
  folder.Write("data.txt", "t\n2 4 2\n1 0 2 0\n0 3 0 1\n");
  folder.Write("groups.txt", "1 1 2 2\n");
  RunRequest request;
  request.tableFile = "data.txt";
  request.groupsFile = "groups.txt";
  request.randomSeed = 12345;
  request.randomizationCount = 2147483647;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  AnalysisData data;
  const auto fault = ReadRunInputs(request, data);
  struct statvfs space {};
  ASSERT_EQ(::statvfs(".", &space), 0);
  std::filesystem::current_path(previous);
  // About a terabyte: a machine with more free space runs it.
  const double free = static_cast<double>(space.f_bavail) * static_cast<double>(space.f_frsize);
  if (free >= 2147483647.0 * 480) {
    EXPECT_FALSE(fault);
    return;
  }
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->where, "--randomizations 2147483647");
  EXPECT_EQ(fault->found.rfind("RESULTS.TXT would take about 1.03 TB (480 bytes a step, "
                               "2147483647 steps), more than the ",
                               0),
            0U)
      << fault->found;
}

}  // namespace
}  // namespace kova
